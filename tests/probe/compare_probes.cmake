# Runs the native and the Windows probe on the same input with TZ=UTC and fails when
# their standard output, standard error or exit status differ.
set(ENV{TZ} UTC)
execute_process(COMMAND ${NATIVE} INPUT_FILE ${INPUT}
                OUTPUT_FILE ${WORK}/native.out ERROR_FILE ${WORK}/native.err
                RESULT_VARIABLE native_status)
execute_process(COMMAND ${EMULATOR} ${WINDOWS} INPUT_FILE ${INPUT}
                OUTPUT_FILE ${WORK}/windows.out ERROR_FILE ${WORK}/windows.err
                RESULT_VARIABLE windows_status)
foreach(stream out err)
  file(READ ${WORK}/native.${stream} native_text)
  file(READ ${WORK}/windows.${stream} windows_text)
  if(NOT native_text STREQUAL windows_text)
    message(FATAL_ERROR "standard ${stream} differs:\n--- native\n${native_text}\n--- windows\n${windows_text}")
  endif()
endforeach()
if(NOT native_status STREQUAL windows_status)
  message(FATAL_ERROR "exit status differs: native ${native_status}, windows ${windows_status}")
endif()
file(STRINGS ${WORK}/native.out lines)
list(LENGTH lines count)
if(count LESS 40)
  message(FATAL_ERROR "only ${count} answer lines: the probe did not run")
endif()
message(STATUS "${count} answer lines identical")
