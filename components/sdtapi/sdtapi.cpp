// The reader transport: frames of the card module's serial protocol.
// This first version opens no port.
#include <windows.h>

extern "C" {

int __stdcall SamOpenPort(int) { return 0; }
int __stdcall SamClosePort() { return 0; }

}  // extern "C"
