# Runs the native probe on the input with TZ=UTC and compares its standard output,
# standard error and exit status with the expected ones; with WINDOWS, runs the Windows
# probe too, which must print the same bytes.
set(ENV{TZ} UTC)
foreach(build NATIVE WINDOWS)
  if(${build})
    execute_process(COMMAND ${EMULATOR_${build}} ${${build}} INPUT_FILE ${INPUT}
                    OUTPUT_FILE ${WORK}/${build}.out ERROR_FILE ${WORK}/${build}.err
                    RESULT_VARIABLE status_${build})
    foreach(stream out err)
      file(READ ${WORK}/${build}.${stream} actual)
      file(READ ${EXPECTED}.${stream} expected)
      if(NOT actual STREQUAL expected)
        message(FATAL_ERROR "${build} standard ${stream} differs:\n${actual}\n--- expected\n${expected}")
      endif()
    endforeach()
    if(NOT status_${build} EQUAL 1)
      message(FATAL_ERROR "${build} exit status ${status_${build}}, expected 1")
    endif()
  endif()
endforeach()
