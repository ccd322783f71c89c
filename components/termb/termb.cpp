// The reader interface: opens a reader on a port, selects and reads a card.
// This first version finds no reader on any port and reports every call as failed.
#include <windows.h>

extern "C" {

int __stdcall CVR_InitComm(int) { return 0; }
int __stdcall CVR_Authenticate() { return 0; }
int __stdcall CVR_Read_Content(int) { return 0; }
int __stdcall CVR_CloseComm() { return 0; }

}  // extern "C"
