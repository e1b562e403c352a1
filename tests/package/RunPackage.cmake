# Makes the zip, unpacks it into a fresh folder outside the build, checks
# its contents and has the driver run the unpacked program under Wine.
#   cmake -DCPACK=... -DCPACK_CONFIG=... -DPACKAGE_NAME=... -DVERSION=...
#         -DSCRATCH=... -DWINE_RUN=... -DDRIVER=... -P RunPackage.cmake
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

  # The name the README gives the download, its word size taken from the
  # program's own PE header (the machine field after the "PE\0\0" that the
  # 32-bit offset at 0x3C points to), not from the build's naming.
  set(program ${unpacked}/${PACKAGE_NAME}/Warbletone.exe)
  file(READ ${program} header_offset OFFSET 60 LIMIT 4 HEX)
  string(REGEX REPLACE "(..)(..)(..)(..)" "0x\\4\\3\\2\\1" header_offset ${header_offset})
  math(EXPR header_offset ${header_offset})
  file(READ ${program} signature_and_machine OFFSET ${header_offset} LIMIT 6 HEX)
  if(signature_and_machine STREQUAL "504500004c01")
    set(platform win32)
  elseif(signature_and_machine STREQUAL "504500006486")
    set(platform win64)
  else()
    set(failure "Warbletone.exe is no x86 program (${signature_and_machine})" PARENT_SCOPE)
    return()
  endif()
  set(expected_zip Warbletone-${VERSION}-${platform}.zip)
  if(NOT "${PACKAGE_NAME}.zip" STREQUAL expected_zip)
    set(failure "the ${platform} download is named ${PACKAGE_NAME}.zip, not ${expected_zip}"
        PARENT_SCOPE)
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
