// The portrait decoder. The card's portrait format needs a licensed decoder, so this
// component always answers that decoding is unavailable (-1).
#include <windows.h>

extern "C" {

int __stdcall DecodePortrait(const unsigned char*, int, unsigned char*, int) { return -1; }

}  // extern "C"
