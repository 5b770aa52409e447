#!/usr/bin/env bash
# Writes the package managers' manifests of a release from its files as they are:
# winget's multi-file manifest (version, installer and default-locale files) for the
# per-user installers, and a Scoop manifest for the portable zips. Each hash is taken from
# the bytes that SHA256SUMS then lists.
#   write-manifests.sh RELEASE-DIR VERSION URL
# URL is the folder that the release's files will be published in.
set -euo pipefail
release=$1 version=$2 url=$3
id=Quillmark.Tallyvane
description="Counts the time since a chosen date, to the second."
hash() { sha256sum "$release/$1" | cut -c1-64; }
# The uninstall key that the installer writes, by which winget finds what it installed.
nsi="$(dirname "$0")/../installer/tallyvane.nsi"
product_code=$(sed -n 's/^!define UNINSTALL_KEY ".*\\\([^\\]*\)"$/\1/p' "$nsi")
# Each refusal's exit code, as the installer script defines it, and what winget tells its user.
refusal() {
  local code; code=$(sed -n "s/^!define EXIT_$1 \([0-9]*\).*/\1/p" "$nsi")
  printf -- '- InstallerReturnCode: %s\n  ReturnResponse: %s\n' "${code:?no EXIT_$1 in the installer script}" "$2"
}
# Made here, not inside the manifest's text, so that a code missing stops the script.
refusals=$(refusal CANCELLED cancelledByUser && refusal ABORTED contactSupport &&
  refusal IN_USE packageInUse && refusal BAD_FOLDER invalidParameter &&
  refusal UNWRITABLE custom && refusal NOT_REMOVED fileInUse && refusal NOT_REPLACED fileInUse)
winget="$release/manifests/winget" scoop="$release/manifests/scoop"
mkdir -p "$winget" "$scoop"

header() {  # the schema that editors and winget's validation read
  echo "# yaml-language-server: \$schema=https://aka.ms/winget-manifest.$1.1.12.0.schema.json"
  echo "PackageIdentifier: $id"
  echo "PackageVersion: $version"
}
footer() { printf 'ManifestType: %s\nManifestVersion: 1.12.0\n' "$1"; }

{ header version; echo "DefaultLocale: en-US"; footer version; } >"$winget/$id.yaml"

# winget runs a nullsoft installer with /S, and /D=FOLDER for a chosen folder; an upgrade
# installs over the earlier copy, as installing again does.
{
  header installer
  cat <<END
InstallerType: nullsoft
Scope: user
InstallModes:
- interactive
- silent
- silentWithProgress
UpgradeBehavior: install
ProductCode: ${product_code:?no UNINSTALL_KEY in the installer script}
ExpectedReturnCodes:
$refusals
Installers:
- Architecture: x86
  InstallerUrl: $url/Tallyvane-$version-win32-setup.exe
  InstallerSha256: $(hash "Tallyvane-$version-win32-setup.exe" | tr a-f A-F)
- Architecture: x64
  InstallerUrl: $url/Tallyvane-$version-win64-setup.exe
  InstallerSha256: $(hash "Tallyvane-$version-win64-setup.exe" | tr a-f A-F)
END
  footer installer
} >"$winget/$id.installer.yaml"

{
  header defaultLocale
  cat <<END
PackageLocale: en-US
Publisher: Tallyvane
PackageName: Tallyvane
License: MIT
ShortDescription: $description
END
  footer defaultLocale
} >"$winget/$id.locale.en-US.yaml"

# Scoop unpacks a zip into its own folder; extract_dir takes the program's folder out of it.
scoop_architecture() {
  cat <<END
        "$1": {
            "url": "$url/Tallyvane-$version-$2-portable.zip",
            "hash": "$(hash "Tallyvane-$version-$2-portable.zip")",
            "extract_dir": "Tallyvane-$version-$2"
        }
END
}
cat >"$scoop/tallyvane.json" <<END
{
    "version": "$version",
    "description": "$description",
    "homepage": "$url",
    "license": "MIT",
    "architecture": {
$(scoop_architecture 64bit win64),
$(scoop_architecture 32bit win32)
    },
    "shortcuts": [["Tallyvane.exe", "Tallyvane"]]
}
END
