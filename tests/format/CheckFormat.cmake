# Lists every C++ source and header that clang-format would change.
#   cmake -DCLANG_FORMAT=<clang-format> -DSOURCE_DIR=<repository> -P CheckFormat.cmake
set(sources)
foreach(folder framework GR_TEST_core tests bench tools)
  file(GLOB_RECURSE found ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
  list(APPEND sources ${found})
endforeach()
if(NOT sources)
  message(FATAL_ERROR "no C++ sources found under ${SOURCE_DIR}")
endif()

set(unformatted)
foreach(source ${sources})
  execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${source}
                  WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE result
                  OUTPUT_QUIET ERROR_QUIET)
  if(NOT result EQUAL 0)
    file(RELATIVE_PATH relative ${SOURCE_DIR} ${source})
    list(APPEND unformatted ${relative})
  endif()
endforeach()

list(LENGTH sources checked)
if(unformatted)
  list(JOIN unformatted "\n  " listing)
  message(FATAL_ERROR "not formatted (run clang-format -i on them):\n  ${listing}")
endif()
message(STATUS "${checked} files formatted")
