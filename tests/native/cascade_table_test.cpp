// The cascade table compiled into the program holds exactly what the cascade file says: read
// here again, with regular expressions rather than the build tool's reader.
#include "framing/lbp_cascade.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string CascadeFile() {
    std::ifstream in(ORVIA_LBP_CASCADE_FILE, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The bodies of every <tag>...</tag> after the file's leading comment.
std::vector<std::string> Bodies(const std::string& xml, const std::string& tag) {
    const std::string after = xml.substr(xml.find("-->"));
    const std::regex element("<" + tag + ">([^<]*)</" + tag + ">");
    std::vector<std::string> bodies;
    for (auto it = std::sregex_iterator(after.begin(), after.end(), element); it != std::sregex_iterator(); ++it)
        bodies.push_back((*it)[1]);
    return bodies;
}

template <typename T>
std::vector<T> Numbers(const std::string& text) {
    std::istringstream in(text);
    std::vector<T> out;
    for (T v; in >> v;) out.push_back(v);
    return out;
}

TEST(CascadeTable, HoldsEveryStageWeakClassifierAndFeatureOfTheFile) {
    const std::string xml = CascadeFile();
    ASSERT_FALSE(xml.empty()) << "cannot read " << ORVIA_LBP_CASCADE_FILE;
    const auto& table = framing::cascade::FrontalFace();

    EXPECT_EQ(table.windowWidth, std::stoi(Bodies(xml, "width").at(0)));
    EXPECT_EQ(table.windowHeight, std::stoi(Bodies(xml, "height").at(0)));

    const auto thresholds = Bodies(xml, "stageThreshold");
    // maxWeakCount appears once among the training settings, then once per stage.
    const auto weakCounts = Bodies(xml, "maxWeakCount");
    ASSERT_EQ(table.stageCount, std::stoi(Bodies(xml, "stageNum").at(0)));
    ASSERT_EQ(static_cast<int>(thresholds.size()), table.stageCount);
    ASSERT_EQ(static_cast<int>(weakCounts.size()), table.stageCount + 1);
    int first = 0;
    for (int s = 0; s < table.stageCount; ++s) {
        SCOPED_TRACE("stage " + std::to_string(s));
        EXPECT_EQ(table.stages[s].firstWeak, first);
        EXPECT_EQ(table.stages[s].weakCount, std::stoi(weakCounts[static_cast<std::size_t>(s) + 1]));
        EXPECT_EQ(table.stages[s].threshold, std::stof(thresholds[static_cast<std::size_t>(s)]));
        first += table.stages[s].weakCount;
    }

    const auto nodes = Bodies(xml, "internalNodes");
    const auto leaves = Bodies(xml, "leafValues");
    ASSERT_EQ(static_cast<int>(nodes.size()), table.weakCount);
    ASSERT_EQ(first, table.weakCount);
    for (int k = 0; k < table.weakCount; ++k) {
        SCOPED_TRACE("weak classifier " + std::to_string(k));
        const auto n = Numbers<long long>(nodes[static_cast<std::size_t>(k)]);
        const auto v = Numbers<float>(leaves[static_cast<std::size_t>(k)]);
        ASSERT_EQ(n.size(), 11u);
        ASSERT_EQ(v.size(), 2u);
        const auto& weak = table.weak[k];
        EXPECT_EQ(weak.feature, n[2]);
        for (int i = 0; i < 8; ++i) EXPECT_EQ(weak.codes[i], static_cast<std::uint32_t>(n[3 + static_cast<std::size_t>(i)]));
        EXPECT_EQ(weak.inSet, v[0]);
        EXPECT_EQ(weak.outOfSet, v[1]);
    }

    const auto rects = Bodies(xml, "rect");
    ASSERT_EQ(static_cast<int>(rects.size()), table.featureCount);
    for (int f = 0; f < table.featureCount; ++f) {
        const auto r = Numbers<int>(rects[static_cast<std::size_t>(f)]);
        ASSERT_EQ(r.size(), 4u);
        const auto& feature = table.features[f];
        EXPECT_EQ((std::vector<int>{feature.x, feature.y, feature.blockWidth, feature.blockHeight}), r) << "feature " << f;
    }
}

TEST(CascadeTable, SpotValuesReadOffTheFile) {
    // The file's first stage and first weak classifier, and its last feature, as printed in it.
    const auto& table = framing::cascade::FrontalFace();
    ASSERT_EQ(table.stageCount, 19);
    EXPECT_EQ(table.weakCount, 149);
    EXPECT_EQ(table.featureCount, 142);
    EXPECT_EQ(table.stages[0].weakCount, 6);
    EXPECT_FLOAT_EQ(table.stages[0].threshold, -4.1617846488952637f);
    EXPECT_EQ(table.weak[0].feature, 26);
    EXPECT_EQ(table.weak[0].codes[2], static_cast<std::uint32_t>(-17409));
    EXPECT_FLOAT_EQ(table.weak[0].inSet, -0.99726462364196777f);
    const auto& last = table.features[table.featureCount - 1];
    EXPECT_EQ((std::vector<int>{last.x, last.y, last.blockWidth, last.blockHeight}), (std::vector<int>{42, 29, 1, 2}));
}

}  // namespace
