// The camera component: lists capture devices and shows one live inside a window.
// This first version knows no devices yet: the list is empty and every call is harmless.
#include <windows.h>

extern "C" {

const char* __stdcall GetCameraList() { return ""; }
int __stdcall SetCameraID(int) { return 0; }
int __stdcall StartCamera(HWND) { return 0; }
int __stdcall CloseCamera(int) { return 0; }

}  // extern "C"
