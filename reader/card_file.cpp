#include "reader/card_file.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace reader {

std::string CardFileField(std::span<const std::uint8_t> bytes, int position) {
    const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()),
                                static_cast<std::size_t>(end - bytes.begin()));
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string_view::npos; at = text.find("\r\n", start)) {
        fields.push_back(text.substr(start, at - start));
        start = at + 2;
    }
    // What follows the last line break is a field unless it is empty.
    if (start < text.size()) fields.push_back(text.substr(start));

    if (fields.size() != kCardFileFieldCount || position < 1 || position > kCardFileFieldCount) return {};
    return std::string(fields[static_cast<std::size_t>(position - 1)]);
}

}  // namespace reader
