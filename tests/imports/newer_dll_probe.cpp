// A DLL that imports from an API set Windows 7 does not have, for the check that such
// imports never ship.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0602
#include <windows.h>

#include <synchapi.h>

extern "C" __declspec(dllexport) void __stdcall WaitForChange(volatile LONG* value, LONG seen) {
    ::WaitOnAddress(value, &seen, sizeof seen, 0);
}
