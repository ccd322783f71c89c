#include "chrome/help_page.h"

namespace chrome {

namespace {
constexpr std::string_view kLineEnd = "\r\n";
// "软件说明" in GBK.
constexpr std::string_view kTitleGbk = "\xC8\xED\xBC\xFE\xCB\xB5\xC3\xF7";
}  // namespace

std::vector<std::uint8_t> HelpPageBytes(std::span<const std::string, 5> imageAddresses) {
    std::vector<std::string> lines = {
        "<!DOCTYPE html>",
        "<html>",
        "<head>",
        "\t<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">",
        "\t<title>" + std::string(kTitleGbk) + "</title>",
        "</head>",
        "<body>",
        "",
        "<div>",
    };
    for (std::size_t i = 0; i < imageAddresses.size(); ++i) {
        const std::string indent = i == 0 ? "\t" : "    ";
        lines.push_back(indent + "<img src=\"" + imageAddresses[i] + "\" style=\" max-width: 100%;\">");
    }
    lines.insert(lines.end(), {"", "</div>", "</body>", "</html>"});

    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) text += kLineEnd;  // every line but the last ends in CR LF
        text += lines[i];
    }
    return {text.begin(), text.end()};
}

std::string FileAddress(std::string_view windowsPath) {
    std::string address = "file:///";
    for (const char c : windowsPath) {
        switch (c) {
        case '\\': address += '/'; break;
        // What would end or break an address inside a quoted attribute.
        case ' ': address += "%20"; break;
        case '#': address += "%23"; break;
        case '%': address += "%25"; break;
        case '"': address += "%22"; break;
        default: address += c; break;
        }
    }
    return address;
}

}  // namespace chrome
