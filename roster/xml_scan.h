// A small tolerant reader of the XML inside an .xlsx file, just enough for its workbook,
// relationships, shared strings and worksheets: tags with their attributes, text with its
// entities, CDATA. Names are compared without their namespace prefix ("x:c" is "c"), as
// writers differ there. No DTD is read and no entity but the five predefined and numeric
// character references is expanded, so a hostile file cannot make it grow. Anything
// malformed ends the scan; nothing reads outside the text. Portable.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace roster {

struct XmlToken {
    enum class Kind { Start, End, Empty, Text };
    Kind kind = Kind::Text;
    std::string_view name;        // local name of a tag
    std::string_view attributes;  // a start or empty tag's attributes, raw
    std::string_view text;        // raw text (entities not yet decoded) or a CDATA section's
    bool cdata = false;
};

class XmlScanner {
public:
    explicit XmlScanner(std::string_view xml) : xml_(xml) {}

    // The next tag or run of text; false at the end or at something malformed. Comments,
    // processing instructions and declarations are passed over.
    bool Next(XmlToken& token);

private:
    std::string_view xml_;
    std::size_t at_ = 0;
};

// The decoded value of the attribute whose local name is `name`, if present.
std::optional<std::string> XmlAttribute(std::string_view attributes, std::string_view name);

// A token's text with entities decoded and line ends made LF (as an XML reader must);
// a CDATA section is taken as it stands but for its line ends.
std::string XmlText(const XmlToken& token);

}  // namespace roster
