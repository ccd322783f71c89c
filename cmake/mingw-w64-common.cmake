# What the two MinGW-w64 toolchain files share: Debian's cross compilers of the posix thread
# model (the win32 model has no std::mutex and GoogleTest will not build with it), named by
# ORVIA_MINGW_TRIPLE, and Wine to run the Windows test programs.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${ORVIA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORVIA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${ORVIA_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORVIA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# ctest runs the Windows test programs under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

# Libraries of the cross environment (zlib) are linked statically: orvia.exe carries no DLL
# of theirs. FindZLIB would otherwise take the import library libz.dll.a beside libz.a.
set(ZLIB_USE_STATIC_LIBS ON)
