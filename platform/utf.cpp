#include "platform/utf.h"

namespace platform {

namespace {
constexpr char32_t kReplacement = 0xFFFD;
}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

namespace {

void AppendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}
}  // namespace

std::u16string Utf8ToUtf16(std::string_view in) {
    std::u16string out;
    out.reserve(in.size());
    std::size_t i = 0;
    while (i < in.size()) {
        const auto b0 = static_cast<unsigned char>(in[i]);
        int length = 0;
        char32_t c = 0;
        char32_t minimum = 0;
        if (b0 < 0x80) { out += static_cast<char16_t>(b0); ++i; continue; }
        if ((b0 & 0xE0) == 0xC0) { length = 2; c = b0 & 0x1F; minimum = 0x80; }
        else if ((b0 & 0xF0) == 0xE0) { length = 3; c = b0 & 0x0F; minimum = 0x800; }
        else if ((b0 & 0xF8) == 0xF0) { length = 4; c = b0 & 0x07; minimum = 0x10000; }
        else { out += static_cast<char16_t>(kReplacement); ++i; continue; }

        int taken = 1;
        while (taken < length && i + static_cast<std::size_t>(taken) < in.size()) {
            const auto b = static_cast<unsigned char>(in[i + static_cast<std::size_t>(taken)]);
            if ((b & 0xC0) != 0x80) break;
            c = (c << 6) | (b & 0x3F);
            ++taken;
        }
        const bool complete = taken == length;
        const bool valid = complete && c >= minimum && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
        AppendUtf16(out, valid ? c : kReplacement);
        i += static_cast<std::size_t>(taken);
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view in) {
    std::string out;
    out.reserve(in.size() * 3);
    for (std::size_t i = 0; i < in.size(); ++i) {
        char32_t c = in[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < in.size() && in[i + 1] >= 0xDC00 && in[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (in[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;  // a lone surrogate
        }
        AppendUtf8(out, c);
    }
    return out;
}

bool IsUtf8(std::string_view in) {
    std::size_t i = 0;
    while (i < in.size()) {
        const auto b0 = static_cast<unsigned char>(in[i]);
        if (b0 < 0x80) { ++i; continue; }
        std::size_t length = 0;
        // The second byte's range rules out overlong forms, surrogates and codes past U+10FFFF.
        unsigned low = 0x80, high = 0xBF;
        if (b0 >= 0xC2 && b0 <= 0xDF) { length = 2; }
        else if (b0 >= 0xE0 && b0 <= 0xEF) { length = 3; if (b0 == 0xE0) low = 0xA0; if (b0 == 0xED) high = 0x9F; }
        else if (b0 >= 0xF0 && b0 <= 0xF4) { length = 4; if (b0 == 0xF0) low = 0x90; if (b0 == 0xF4) high = 0x8F; }
        else { return false; }
        if (in.size() - i < length) return false;
        const auto b1 = static_cast<unsigned char>(in[i + 1]);
        if (b1 < low || b1 > high) return false;
        for (std::size_t k = 2; k < length; ++k)
            if ((static_cast<unsigned char>(in[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

}  // namespace platform
