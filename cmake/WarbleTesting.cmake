# Helpers for registering tests.
#
# warble_add_test(NAME <name> COMMAND <target> [args...] [ENV <VAR=value>...])
#   Registers one CTest test. In the cross build the target runs under Wine
#   (through CMAKE_CROSSCOMPILING_EMULATOR) with a private HOME of its own,
#   whose .asoundrc points ALSA's default device at the file
#   <build>/home/<name>/audio-sink.raw: whatever the test plays through the
#   wave output lands there byte for byte. The test finds that file through
#   the variable WARBLE_AUDIO_SINK (a Unix path). Wine's PulseAudio driver is
#   switched off (WARBLE_DLLOVERRIDES, unless the test sets its own), so that
#   on a desktop with a sound server the sound still goes to the file.
#   All Wine tests share one lock, since windows, focus and the foreground
#   are per Wine desktop: two GUI tests at once would disturb each other.
function(warble_add_test)
  cmake_parse_arguments(T "" "NAME" "COMMAND;ENV" ${ARGN})
  add_test(NAME ${T_NAME} COMMAND ${T_COMMAND})
  set(env)
  if(WIN32)
    list(APPEND env WARBLE_DLLOVERRIDES=winepulse.drv=d)
    set(home ${CMAKE_BINARY_DIR}/home/${T_NAME})
    set(sink ${home}/audio-sink.raw)
    file(MAKE_DIRECTORY ${home})
    file(WRITE ${home}/.asoundrc
      "pcm.!default { type file; slave.pcm \"null\"; file \"${sink}\"; format \"raw\" }\n")
    list(APPEND env HOME=${home} WARBLE_AUDIO_SINK=${sink}
                    WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix)
    list(APPEND env ${T_ENV})
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK wine)
  else()
    list(APPEND env ${T_ENV})
  endif()
  if(env)
    set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${env}")
  endif()
endfunction()
