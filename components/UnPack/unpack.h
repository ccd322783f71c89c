// The portrait decoder UnPack.dll. A card's portrait (xp.wlt, 1024 bytes) is in a
// compressed format that needs a licensed decoder, so ours answers that decoding is
// unavailable. The interface lets a real decoder take its place.
#pragma once

namespace unpack {

enum Result : int {
    kUnavailable = -1,    // this decoder cannot decode portraits
    kBadPortrait = -2,    // not a portrait it knows
    kBufferTooSmall = -3, // the BMP does not fit in `bmp`
};

// Room for the decoded portrait's BMP (102 x 126 pixels, 24 bits) with some to spare.
inline constexpr int kBmpCapacity = 64 * 1024;

}  // namespace unpack

extern "C" {

// Decodes `portrait` (portraitLength bytes) into a BMP file's bytes in `bmp` (room for
// bmpCapacity bytes). The BMP's length in bytes when it was decoded, otherwise a negative
// unpack::Result; `bmp` is then left as it was. Standard calling convention, never throws.
typedef int(__stdcall* DecodePortraitFn)(const unsigned char* portrait, int portraitLength, unsigned char* bmp,
                                         int bmpCapacity);
int __stdcall DecodePortrait(const unsigned char* portrait, int portraitLength, unsigned char* bmp, int bmpCapacity);

}  // extern "C"
