#include "roster/xml_scan.h"

#include "platform/utf.h"

#include <cstdint>

namespace roster {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view LocalName(std::string_view name) {
    const std::size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// A numeric reference that names no character becomes U+FFFD.
void AppendCharacter(std::string& out, std::uint32_t c) {
    if (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    platform::AppendUtf8(out, static_cast<char32_t>(c));
}

// The character an entity's name (between & and ;) stands for; false for an unknown one.
bool Entity(std::string_view name, std::string& out) {
    if (name == "amp") out += '&';
    else if (name == "lt") out += '<';
    else if (name == "gt") out += '>';
    else if (name == "quot") out += '"';
    else if (name == "apos") out += '\'';
    else if (name.size() >= 2 && name[0] == '#') {
        const bool hex = name[1] == 'x' || name[1] == 'X';
        const std::string_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty() || digits.size() > 8) return false;
        std::uint32_t c = 0;
        for (char d : digits) {
            int value = -1;
            if (d >= '0' && d <= '9') value = d - '0';
            else if (hex && d >= 'a' && d <= 'f') value = d - 'a' + 10;
            else if (hex && d >= 'A' && d <= 'F') value = d - 'A' + 10;
            if (value < 0) return false;
            c = c * (hex ? 16 : 10) + static_cast<std::uint32_t>(value);
        }
        AppendCharacter(out, c);
    } else {
        return false;
    }
    return true;
}

std::string Decode(std::string_view raw, bool entities) {
    std::string out;
    out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '\r') {
            out += '\n';
            if (i + 1 < raw.size() && raw[i + 1] == '\n') ++i;
        } else if (c == '&' && entities) {
            const std::size_t semicolon = raw.find(';', i + 1);
            if (semicolon != std::string_view::npos && semicolon - i <= 12 &&
                Entity(raw.substr(i + 1, semicolon - i - 1), out)) {
                i = semicolon;
            } else {
                out += c;  // a stray ampersand, kept as written
            }
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

bool XmlScanner::Next(XmlToken& token) {
    token = XmlToken{};
    std::string_view rest = xml_.substr(at_);
    // Passed over: <?...?>, <!--...-->, <!DOCTYPE ...>.
    for (std::string_view close; !rest.empty(); rest = xml_.substr(at_)) {
        if (rest.starts_with("<?")) close = "?>";
        else if (rest.starts_with("<!--")) close = "-->";
        else if (rest.starts_with("<!") && !rest.starts_with("<![CDATA[")) close = ">";
        else break;
        const std::size_t end = rest.find(close);
        if (end == std::string_view::npos) return false;
        at_ += end + close.size();
    }
    if (rest.empty()) return false;
    if (rest[0] != '<') {
        const std::size_t end = rest.find('<');
        token.text = rest.substr(0, end);
        at_ = end == std::string_view::npos ? xml_.size() : at_ + end;
        return true;
    }
    if (rest.starts_with("<![CDATA[")) {
        const std::size_t end = rest.find("]]>");
        if (end == std::string_view::npos) return false;
        token.text = rest.substr(9, end - 9);
        token.cdata = true;
        at_ += end + 3;
        return true;
    }

    // A tag: the '>' that closes it is the first one outside a quoted attribute value.
    std::size_t end = 1;
    char quote = 0;
    for (; end < rest.size(); ++end) {
        const char c = rest[end];
        if (quote != 0) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            break;
        }
    }
    if (end == rest.size()) return false;
    std::string_view inside = rest.substr(1, end - 1);
    at_ += end + 1;
    token.kind = XmlToken::Kind::Start;
    if (inside.starts_with('/')) {
        token.kind = XmlToken::Kind::End;
        inside.remove_prefix(1);
    } else if (inside.ends_with('/')) {
        token.kind = XmlToken::Kind::Empty;
        inside.remove_suffix(1);
    }
    std::size_t nameEnd = 0;
    while (nameEnd < inside.size() && !IsSpace(inside[nameEnd])) ++nameEnd;
    if (nameEnd == 0) return false;
    token.name = LocalName(inside.substr(0, nameEnd));
    token.attributes = inside.substr(nameEnd);
    return true;
}

std::optional<std::string> XmlAttribute(std::string_view attributes, std::string_view name) {
    std::size_t i = 0;
    while (i < attributes.size()) {
        while (i < attributes.size() && IsSpace(attributes[i])) ++i;
        const std::size_t nameStart = i;
        while (i < attributes.size() && attributes[i] != '=' && !IsSpace(attributes[i])) ++i;
        const std::string_view found = attributes.substr(nameStart, i - nameStart);
        while (i < attributes.size() && IsSpace(attributes[i])) ++i;
        if (i >= attributes.size() || attributes[i] != '=') return std::nullopt;
        ++i;
        while (i < attributes.size() && IsSpace(attributes[i])) ++i;
        if (i >= attributes.size() || (attributes[i] != '"' && attributes[i] != '\'')) return std::nullopt;
        const char quote = attributes[i++];
        const std::size_t close = attributes.find(quote, i);
        if (close == std::string_view::npos) return std::nullopt;
        if (LocalName(found) == name) return Decode(attributes.substr(i, close - i), true);
        i = close + 1;
    }
    return std::nullopt;
}

std::string XmlText(const XmlToken& token) { return Decode(token.text, !token.cdata); }

}  // namespace roster
