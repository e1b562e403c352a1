# The download: `cpack` in a Windows build folder makes
# Warbletone-<version>-win32.zip (win64 for the 64-bit build) holding one
# folder with the program, its sample beside it in SND\, the README and the
# licence. Unpacked anywhere, the program runs from there.
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Warbletone)
set(CPACK_PACKAGE_VENDOR "the Warbletone developers")
# The name without ".zip", also the folder inside it. Kept in a variable of
# its own because including CPack reuses CPACK_PACKAGE_FILE_NAME for the
# source package.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(WARBLE_PACKAGE_NAME Warbletone-${PROJECT_VERSION}-win64)
else()
  set(WARBLE_PACKAGE_NAME Warbletone-${PROJECT_VERSION}-win32)
endif()
set(CPACK_PACKAGE_FILE_NAME ${WARBLE_PACKAGE_NAME})
# The build carries debug information; the download does not need it.
set(CPACK_STRIP_FILES ON)
# Only the program's own files: the test libraries have install rules too.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};Warbletone;Program;/")

install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
        DESTINATION . COMPONENT Program)
install(FILES ${PROJECT_SOURCE_DIR}/SND/SND45 DESTINATION SND COMPONENT Program)
# The program target is defined later, in GR_TEST_core; install it once
# this directory has been read completely.
cmake_language(DEFER CALL install TARGETS Warbletone RUNTIME DESTINATION . COMPONENT Program)

include(CPack)
