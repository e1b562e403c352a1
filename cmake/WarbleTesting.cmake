# Helpers for registering tests.
#
# warble_add_test(NAME <name> COMMAND <target or program> [args...] [TIMEOUT <seconds>]
#                 [HOST] [ENV <VAR=value>...])
#   Registers one CTest test. Every test has a time limit, so that a hang
#   fails by itself and names what hung: TIMEOUT seconds, by default 90. The
#   longest suites besides the fuzzer take 10-15 s on a 2-core machine; the
#   first Wine test of a build also makes the Wine prefix, about 20 s.
#   In the cross build a target runs under Wine (CMAKE_CROSSCOMPILING_EMULATOR),
#   and every command through tools/headless with a private home folder,
#   <build>/home/<name>, whose ALSA default device is the file
#   <build>/home/<name>/audio-sink.raw: whatever the test plays through the
#   wave output lands there byte for byte, also on a desktop with a sound
#   server. The test finds that file through the variable WARBLE_AUDIO_SINK
#   (a Unix path).
#   All Wine tests share one lock, since windows, focus and the foreground
#   are per Wine desktop: two GUI tests at once would disturb each other.
#   They carry the label "wine".
#   On a machine that cannot run 32-bit programs tools/wine-run runs a
#   32-bit one under emulation, which is slow: the 32-bit build's Wine tests
#   then get five times their time limit. Where it cannot emulate, or the
#   test's WARBLE_NOT_EMULATED gives a reason not to, it says so instead, and
#   the test counts as skipped.
#   HOST marks a test of the cross build that runs on the build machine
#   itself, not under Wine.
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  execute_process(COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-loader
                  OUTPUT_VARIABLE WARBLE_WINE_LOADER OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()
function(warble_add_test)
  cmake_parse_arguments(T "HOST" "NAME;TIMEOUT" "COMMAND;ENV" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 90)
  endif()
  if(WARBLE_WINE_LOADER AND NOT WARBLE_WINE_LOADER STREQUAL "wine" AND NOT T_HOST)
    math(EXPR T_TIMEOUT "${T_TIMEOUT} * 5")
  endif()
  set(command ${T_COMMAND})
  set(wine_only)
  set(env)
  if(WIN32 AND NOT T_HOST)
    list(POP_FRONT command program)
    if(TARGET ${program})
      set(program ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${program}>)
    endif()
    set(home ${CMAKE_BINARY_DIR}/home/${T_NAME})
    set(command ${PROJECT_SOURCE_DIR}/tools/headless --home ${home}
                --sound-to ${home}/audio-sink.raw ${program} ${command})
    set(wine_only RESOURCE_LOCK wine SKIP_REGULAR_EXPRESSION "warble: skipped: " LABELS wine)
    # A locale of their own: Wine takes the ANSI code page from it (1252
    # here), and the names of files from its UTF-8, whatever the machine's.
    set(env WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix LC_ALL=C.UTF-8)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${command})
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT} ${wine_only})
  # The test's own settings come last and win.
  list(APPEND env ${T_ENV})
  if(env)
    set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${env}")
  endif()
endfunction()

# warble_find_tool(<variable> <command> <Debian package>)
#   Finds a program that the tests run, or stops the configure with the
#   package that provides it.
function(warble_find_tool variable command package)
  find_program(${variable} ${command})
  if(NOT ${variable})
    message(FATAL_ERROR "${command} is missing; it comes with the Debian package ${package} "
                        "(tools/install-deps installs all that the build needs)")
  endif()
endfunction()
