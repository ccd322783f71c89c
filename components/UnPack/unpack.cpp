// The portrait decoder: no licensed decoder is carried, so every portrait is answered with
// "unavailable" and no BMP is produced.
#include "unpack.h"

#include <windows.h>

extern "C" {

int __stdcall DecodePortrait(const unsigned char*, int, unsigned char*, int) { return unpack::kUnavailable; }

}  // extern "C"
