# Makes the zip, unpacks it into a fresh folder outside the build, checks
# its contents and has the driver run the unpacked program under Wine.
#   cmake -DCPACK=... -DCPACK_CONFIG=... -DPACKAGE_NAME=... -DSCRATCH=...
#         -DWINE_RUN=... -DDRIVER=... -P RunPackage.cmake
file(REMOVE_RECURSE ${SCRATCH})
execute_process(COMMAND ${CPACK} --config ${CPACK_CONFIG} -B ${SCRATCH}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
set(zip ${SCRATCH}/${PACKAGE_NAME}.zip)
if(NOT result EQUAL 0 OR NOT EXISTS ${zip})
  message(FATAL_ERROR "cpack made no ${PACKAGE_NAME}.zip:\n${output}")
endif()

set(temp $ENV{TMPDIR})
if(NOT temp)
  set(temp /tmp)
endif()
string(RANDOM LENGTH 10 suffix)
set(unpacked ${temp}/warbletone-package-${suffix})
file(MAKE_DIRECTORY ${unpacked})

# Runs the checks; `failure` names the first one that failed.
function(check_unpacked_program)
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${zip}
                  WORKING_DIRECTORY ${unpacked} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    set(failure "cannot unpack ${zip}" PARENT_SCOPE)
    return()
  endif()

  file(GLOB_RECURSE contents RELATIVE ${unpacked} ${unpacked}/*)
  list(SORT contents)
  set(expected LICENSE README.md SND/SND45 Warbletone.exe)
  list(TRANSFORM expected PREPEND ${PACKAGE_NAME}/)
  if(NOT contents STREQUAL expected)
    set(failure "the zip holds\n  ${contents}\ninstead of\n  ${expected}" PARENT_SCOPE)
    return()
  endif()

  # The driver starts the program in the temporary folder, not its own: it
  # has to find its sample beside itself, not in the current one.
  set(exe Z:${unpacked}/${PACKAGE_NAME}/Warbletone.exe)
  string(REPLACE "/" "\\" exe ${exe})
  execute_process(COMMAND ${WINE_RUN} ${DRIVER} ${exe}
                  WORKING_DIRECTORY ${unpacked} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    set(failure "the unpacked program did not pass (driver exit ${result})" PARENT_SCOPE)
  endif()
endfunction()

set(failure "")
check_unpacked_program()
file(REMOVE_RECURSE ${unpacked})
if(failure)
  message(FATAL_ERROR ${failure})
endif()
