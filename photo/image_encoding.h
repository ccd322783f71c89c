// Turns a picture held as image-file bytes into another format through the platform's
// codecs (GDI+), and writes the result to a file.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace photo {

enum class EncoderFormat { Bmp = 1, Jpeg = 2, Gif = 3, Tiff = 4, Png = 5 };

// How writing the encoded file went.
enum class WriteOutcome {
    NotAsked,         // the path was empty or only spaces
    Written,
    DirectoryMissing,
    DiskFull,
    AccessDenied,     // access denied, or the file locked by another program
    Failed,           // anything else
};

// Encodes `image` in `format`; true when encoded bytes were produced (in `encoded`). A
// path that is not blank gets the format's extension unless it has it, and the file is
// written so that it appears whole or not at all. The imaging library is started and shut
// down within the call. `outcome` (optional) says how the writing went.
bool EncodeImage(std::span<const std::uint8_t> image, EncoderFormat format, const std::wstring& path,
                 std::vector<std::uint8_t>& encoded, WriteOutcome* outcome = nullptr);

}  // namespace photo
