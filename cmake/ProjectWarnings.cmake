# Warnings are errors for the project's own targets (not for third-party sources).
function(tallyvane_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wsign-conversion -Wold-style-cast -Werror)
endfunction()
