// The files a card read leaves in the program directory: the card text file wz.txt (GB18030,
// eight fields joined by CR LF) and the raw portrait xp.wlt. Each is complete or
// absent: the bytes go to a temporary file beside it that is then moved into place.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace termb {

inline constexpr wchar_t kCardTextFile[] = L"wz.txt";
inline constexpr wchar_t kPortraitFile[] = L"xp.wlt";
inline constexpr wchar_t kDecodedPortraitFile[] = L"zp.bmp";

// The card text file's bytes: the fields in GB18030 joined by CR LF, with none after the
// last. GB18030 is GBK wherever GBK has the character, so makers' readers of the file read it
// as before, and it carries every other name whole. nullopt only for a field that would change
// the file's shape (card::FitsCardFile) or a lone surrogate, which is no character.
std::optional<std::string> EncodeCardText(const std::array<std::u16string, 8>& fields);

// Removes what an earlier read left (the card text file, both portraits). False when one
// of them is there and stays.
bool RemoveCardFiles(const std::wstring& directory);

// Writes the portrait and then the card text file. False when any step failed; then
// neither file is there, nor a temporary one.
bool WriteCardFiles(const std::wstring& directory, const std::array<std::u16string, 8>& fields,
                    std::span<const std::uint8_t> portrait);

}  // namespace termb
