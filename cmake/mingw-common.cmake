# Shared part of the MinGW-w64 toolchains. The -posix compilers are used
# because the win32 thread model has no std::mutex (GoogleTest needs it).
set(CMAKE_C_COMPILER ${WARBLE_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${WARBLE_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${WARBLE_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${WARBLE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_C_FLAGS_INIT "${WARBLE_ARCH_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${WARBLE_ARCH_FLAGS}")
# Static runtime: the executables need no MinGW DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# CTest runs every .exe through Wine with the project's private prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
