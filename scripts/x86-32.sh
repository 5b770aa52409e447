# Sourced by the scripts that run the 32-bit build. Some machines cannot run 32-bit x86
# code at all (a kernel without IA-32 emulation, or a hypervisor that leaves it out);
# there Wine cannot start a 32-bit program, whatever the program.
#   machine_runs_32bit_code && ...     arch=$(windows_build_to_run WHO)
X86_32_LIMIT="this machine's kernel runs no 32-bit x86 code (no IA-32 emulation), so Wine cannot start 32-bit programs here"

machine_runs_32bit_code() {
  local top probe
  top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  probe="$top/build/x86-32-probe"
  mkdir -p "$top/build"
  if [ ! -x "$probe" ] || [ "$top/scripts/x86-32-probe.c" -nt "$probe" ]; then
    gcc -O2 -Wall -Wextra -Werror -o "$probe" "$top/scripts/x86-32-probe.c"
  fi
  "$probe"
}

# The build to run: the shipped 32-bit one, or, where 32-bit code cannot run, the 64-bit
# one, with a line that says so (WHO names the script).
windows_build_to_run() {
  if machine_runs_32bit_code; then
    echo win32
  else
    echo "$1: $X86_32_LIMIT; using the 64-bit build instead." >&2
    echo win64
  fi
}
