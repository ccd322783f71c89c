#include "ui/control_report.h"

namespace ui {

std::string FormatReport(const ReportFields& fields) {
    std::string out;
    for (const auto& [key, value] : fields) {
        out += key;
        out += '=';
        for (char c : value) {
            switch (c) {
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default: out += c;
            }
        }
        out += '\n';
    }
    return out;
}

std::map<std::string, std::string> ParseReport(std::string_view text) {
    std::map<std::string, std::string> fields;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        const auto eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        std::string value;
        for (std::size_t i = eq + 1; i < line.size(); ++i) {
            if (line[i] == '\\' && i + 1 < line.size()) {
                const char e = line[++i];
                value += e == 'n' ? '\n' : e == 'r' ? '\r' : e;
            } else {
                value += line[i];
            }
        }
        fields[std::string(line.substr(0, eq))] = std::move(value);
    }
    return fields;
}

}  // namespace ui
