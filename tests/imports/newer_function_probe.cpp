// A DLL that imports a Windows 8 function, for the check that such imports never ship.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0602
#include <windows.h>

extern "C" __declspec(dllexport) void __stdcall PreciseTime(FILETIME* now) { ::GetSystemTimePreciseAsFileTime(now); }
