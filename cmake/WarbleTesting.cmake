# Helpers for registering tests.
#
# warble_add_test(NAME <name> COMMAND <target> [args...] [TIMEOUT <seconds>]
#                 [HOST] [ENV <VAR=value>...])
#   Registers one CTest test. Every test has a time limit, so that a hang
#   fails by itself and names what hung: TIMEOUT seconds, by default 90. The
#   longest suites besides the fuzzer take 10-15 s on a 2-core machine; the
#   first Wine test of a build also makes the Wine prefix, about 20 s.
#   In the cross build the target runs under Wine (through
#   CMAKE_CROSSCOMPILING_EMULATOR) with a private HOME of its own, whose
#   .asoundrc points ALSA's default device at the file
#   <build>/home/<name>/audio-sink.raw: whatever the test plays through the
#   wave output lands there byte for byte. The test finds that file through
#   the variable WARBLE_AUDIO_SINK (a Unix path). ALSA reads no configuration
#   of the machine besides that file (ALSA_CONFIG_PATH, see tools/alsa-config)
#   and Wine's PulseAudio driver is switched off (WARBLE_DLLOVERRIDES, unless
#   the test sets its own), so that on a desktop with a sound server the sound
#   still goes to the file.
#   All Wine tests share one lock, since windows, focus and the foreground
#   are per Wine desktop: two GUI tests at once would disturb each other.
#   On a machine that cannot run 32-bit programs tools/wine-run says so
#   instead of running a 32-bit one, and the test counts as skipped.
#   HOST marks a test of the cross build that runs on the build machine
#   itself, not under Wine.
if(WIN32)
  set(WARBLE_ALSA_CONFIG ${CMAKE_BINARY_DIR}/alsa.conf)
  execute_process(COMMAND ${PROJECT_SOURCE_DIR}/tools/alsa-config ${WARBLE_ALSA_CONFIG}
                  RESULT_VARIABLE alsa_config_result)
  if(NOT alsa_config_result EQUAL 0)
    message(FATAL_ERROR "tools/alsa-config could not write ${WARBLE_ALSA_CONFIG}")
  endif()
endif()

function(warble_add_test)
  cmake_parse_arguments(T "HOST" "NAME;TIMEOUT" "COMMAND;ENV" ${ARGN})
  add_test(NAME ${T_NAME} COMMAND ${T_COMMAND})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 90)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT})
  set(env)
  if(WIN32 AND NOT T_HOST)
    list(APPEND env WARBLE_DLLOVERRIDES=winepulse.drv=d)
    set(home ${CMAKE_BINARY_DIR}/home/${T_NAME})
    set(sink ${home}/audio-sink.raw)
    file(MAKE_DIRECTORY ${home})
    file(WRITE ${home}/.asoundrc
      "pcm.!default { type file; slave.pcm \"null\"; file \"${sink}\"; format \"raw\" }\n")
    list(APPEND env HOME=${home} WARBLE_AUDIO_SINK=${sink} ALSA_CONFIG_PATH=${WARBLE_ALSA_CONFIG}
                    WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix)
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK wine
                         SKIP_REGULAR_EXPRESSION "warble: skipped: ")
  endif()
  list(APPEND env ${T_ENV})
  if(env)
    set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${env}")
  endif()
endfunction()
