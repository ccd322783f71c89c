// The reader transport sdtapi.dll: one COM port at a time, speaking the card module's
// serial protocol. Every call uses the standard calling convention, is exported under its
// plain name and never throws; calls from several threads take turns.
//
// The command calls answer with the module's result byte SW3 (0x00..0xFF, e.g. 0x90
// success, 0x9F card found, 0x80 no card), or with one of the negative results below when
// no usable reply came.
#pragma once

namespace sdtapi {

enum Result : int {
    kNotOpen = -1,         // no port is open
    kLineFailed = -2,      // the port refused to send or receive (a reader unplugged)
    kNoReply = -3,         // nothing whole arrived within the command's time limit
    kCorruptReply = -4,    // the reply arrived damaged, also when asked again
    kMalformedReply = -5,  // a sound frame whose data is not what the command returns
    kBadArgument = -6,     // a null buffer
    kInternalError = -7,   // out of memory or the like
};

// Time limit of each command, from the call to the reply. A reply that arrives damaged is
// asked for once more within the same limit. The status question is how a port scan tells
// a reader from any other serial device, and every silent port the scan passes costs its
// limit (at start-up and twice per card), so it is short: a module answers in a few ms.
inline constexpr int kStatusLimitMs = 100;
inline constexpr int kFindLimitMs = 200;
inline constexpr int kSelectLimitMs = 200;
inline constexpr int kReadLimitMs = 2000;

}  // namespace sdtapi

extern "C" {

// Opens \\.\COM<port> (1..255) at 115200 8N1, closing a port opened earlier. 1 when it
// opened; 0 at once for any other number or an absent port. Sends nothing.
typedef int(__stdcall* SamOpenPortFn)(int port);
// Closes the open port, if any. Always 1.
typedef int(__stdcall* SamClosePortFn)();
// Module status (11 FF): 0x90 when the module is healthy. Only a module answers this.
typedef int(__stdcall* SamModuleStatusFn)();
// Find card (20 01): 0x9F when a card lies on the reader, 0x80 when none.
typedef int(__stdcall* SamFindCardFn)();
// Select card (20 02): 0x90 when the card found was selected.
typedef int(__stdcall* SamSelectCardFn)();
// Read text and photo (30 01). On 0x90, `text` holds the card's 256-byte text block and
// `photo` its 1024-byte portrait (buffers of at least those sizes); a 0x90 reply of other
// lengths gives kMalformedReply. On any other result the buffers are left as they were.
typedef int(__stdcall* SamReadTextAndPhotoFn)(unsigned char* text, unsigned char* photo);

// The exports themselves, for the component's own definitions.
int __stdcall SamOpenPort(int port);
int __stdcall SamClosePort();
int __stdcall SamModuleStatus();
int __stdcall SamFindCard();
int __stdcall SamSelectCard();
int __stdcall SamReadTextAndPhoto(unsigned char* text, unsigned char* photo);

}  // extern "C"
