// Turns an LBP cascade file (the XML storage of Debian's opencv-data package) into the C++
// table that framing/lbp_cascade.h declares, so that the program embeds the cascade and reads
// no file at run time.
//   cascade_table CASCADE.xml OUT.cpp
// Fails, writing nothing, on a file that is not a one-level LBP boost cascade or whose
// features leave the window.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Weak {
    int feature;
    long long codes[8];
    std::string inSet, outOfSet;  // kept as written, so the table holds the file's values
};
struct Stage {
    std::string threshold;
    std::vector<Weak> weak;
};
struct Rect {
    int x, y, w, h;
};

// Walks the file's elements in order: text of the next <tag>...</tag> at or after `pos`.
class Reader {
public:
    explicit Reader(std::string text) : text_(std::move(text)) {}
    bool Has(const std::string& tag, std::size_t before = std::string::npos) const {
        const std::size_t at = text_.find("<" + tag + ">", pos_);
        return at != std::string::npos && at < before;
    }
    std::size_t Where(const std::string& tag) const { return text_.find("<" + tag + ">", pos_); }
    void SkipPast(const std::string& tag) {
        const std::size_t at = text_.find("<" + tag + ">", pos_);
        if (at == std::string::npos) throw std::runtime_error("no <" + tag + ">");
        pos_ = at + tag.size() + 2;
    }
    std::string Next(const std::string& tag) {
        SkipPast(tag);
        const std::size_t end = text_.find("</" + tag + ">", pos_);
        if (end == std::string::npos) throw std::runtime_error("<" + tag + "> not closed");
        std::string body = text_.substr(pos_, end - pos_);
        pos_ = end;
        return body;
    }

private:
    std::string text_;
    std::size_t pos_ = 0;
};

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

int Integer(const std::string& text) {
    std::size_t used = 0;
    const long long v = std::stoll(text, &used);
    if (used != text.size()) throw std::runtime_error("not a whole number: " + text);
    return static_cast<int>(v);
}

std::string Real(const std::string& text) {
    std::size_t used = 0;
    const double v = std::stod(text, &used);
    if (used != text.size()) throw std::runtime_error("not a number: " + text);
    char out[40];
    std::snprintf(out, sizeof out, "%.9gf", static_cast<double>(static_cast<float>(v)));
    return out;
}

std::string Trimmed(const std::string& text) {
    const auto words = Words(text);
    if (words.size() != 1) throw std::runtime_error("expected one value, got \"" + text + "\"");
    return words[0];
}

void Convert(const std::string& xml, std::ostream& out) {
    Reader r(xml);
    r.SkipPast("opencv_storage");  // past the licence comment at the head
    r.SkipPast("cascade");
    if (Trimmed(r.Next("stageType")) != "BOOST") throw std::runtime_error("not a boosted cascade");
    if (Trimmed(r.Next("featureType")) != "LBP") throw std::runtime_error("not an LBP cascade");
    const int height = Integer(Trimmed(r.Next("height")));
    const int width = Integer(Trimmed(r.Next("width")));
    if (Trimmed(r.Next("maxDepth")) != "1") throw std::runtime_error("only one-split weak classifiers are read");
    if (Trimmed(r.Next("maxCatCount")) != "256") throw std::runtime_error("LBP codes must have 256 values");
    const int stageCount = Integer(Trimmed(r.Next("stageNum")));
    r.SkipPast("stages");

    std::vector<Stage> stages;
    for (int s = 0; s < stageCount; ++s) {
        Stage stage;
        const int weakCount = Integer(Trimmed(r.Next("maxWeakCount")));
        stage.threshold = Real(Trimmed(r.Next("stageThreshold")));
        for (int k = 0; k < weakCount; ++k) {
            const auto nodes = Words(r.Next("internalNodes"));
            if (nodes.size() != 11 || nodes[0] != "0" || nodes[1] != "-1")
                throw std::runtime_error("a weak classifier is not one split with a 256-bit set");
            Weak weak{};
            weak.feature = Integer(nodes[2]);
            for (int i = 0; i < 8; ++i) weak.codes[i] = Integer(nodes[3 + i]);
            const auto leaves = Words(r.Next("leafValues"));
            if (leaves.size() != 2) throw std::runtime_error("a weak classifier has not two values");
            weak.inSet = Real(leaves[0]);
            weak.outOfSet = Real(leaves[1]);
            stage.weak.push_back(weak);
        }
        stages.push_back(std::move(stage));
    }

    r.SkipPast("features");
    std::vector<Rect> rects;
    while (r.Has("rect")) {
        const auto v = Words(r.Next("rect"));
        if (v.size() != 4) throw std::runtime_error("a feature rectangle has not four numbers");
        const Rect rect{Integer(v[0]), Integer(v[1]), Integer(v[2]), Integer(v[3])};
        if (rect.x < 0 || rect.y < 0 || rect.w <= 0 || rect.h <= 0 || rect.x + 3 * rect.w > width ||
            rect.y + 3 * rect.h > height)
            throw std::runtime_error("a feature leaves the window");
        rects.push_back(rect);
    }
    int weakTotal = 0;
    for (const auto& stage : stages)
        for (const auto& weak : stage.weak) {
            if (weak.feature < 0 || weak.feature >= static_cast<int>(rects.size()))
                throw std::runtime_error("a weak classifier names a feature that is not there");
            ++weakTotal;
        }

    out << "// Generated by tools/cascade_table from lbpcascade_frontalface_improved.xml; do not edit.\n"
           "// Licence: framing/lbp_cascade_LICENSE.txt\n"
           "#include \"framing/lbp_cascade.h\"\n\n"
           "namespace framing::cascade {\nnamespace {\n\n";
    out << "constexpr Stage kStages[] = {\n";
    int first = 0;
    for (const auto& stage : stages) {
        out << "    {" << first << ", " << stage.weak.size() << ", " << stage.threshold << "},\n";
        first += static_cast<int>(stage.weak.size());
    }
    out << "};\n\nconstexpr WeakClassifier kWeak[] = {\n";
    for (const auto& stage : stages)
        for (const auto& weak : stage.weak) {
            out << "    {" << weak.feature << ", {";
            for (int i = 0; i < 8; ++i)
                out << (i ? ", " : "") << "0x" << std::hex << (static_cast<unsigned long long>(weak.codes[i]) & 0xFFFFFFFFu)
                    << std::dec << "u";
            out << "}, " << weak.inSet << ", " << weak.outOfSet << "},\n";
        }
    out << "};\n\nconstexpr Feature kFeatures[] = {\n";
    for (const auto& rect : rects) out << "    {" << rect.x << ", " << rect.y << ", " << rect.w << ", " << rect.h << "},\n";
    out << "};\n\n}  // namespace\n\nconst Table& FrontalFace() {\n"
           "    static constexpr Table table{"
        << width << ", " << height << ", kStages, " << stages.size() << ", kWeak, " << weakTotal << ", kFeatures, "
        << rects.size() << "};\n    return table;\n}\n\n}  // namespace framing::cascade\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: cascade_table CASCADE.xml OUT.cpp\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "cascade_table: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::ostringstream xml;
    xml << in.rdbuf();
    std::ostringstream table;
    try {
        Convert(xml.str(), table);
    } catch (const std::exception& e) {
        std::cerr << "cascade_table: " << argv[1] << ": " << e.what() << "\n";
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << table.str();
    if (!out.flush()) {
        std::cerr << "cascade_table: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
