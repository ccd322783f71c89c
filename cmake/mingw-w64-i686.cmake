# Cross build for 32-bit Windows (x86), the build handed out to schools.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ORVIA_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
