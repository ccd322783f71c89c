// The frontal-face cascade as compiled into the program: a table made at build time by
// tools/cascade_table from the cascade file of Debian's opencv-data package (licence in
// lbp_cascade_LICENSE.txt beside this file).
//
// A window of windowWidth x windowHeight pixels is a face when it passes every stage in
// turn. A stage adds one of two values per weak classifier and passes when the total
// reaches its threshold. A weak classifier looks at one feature: a 3 x 3 grid of equal
// blocks whose eight outer block sums, each compared with the centre block's, make an
// 8-bit code; the 256-bit set `codes` tells which of the two values the code earns.
#pragma once

#include <cstdint>

namespace framing::cascade {

// The grid's top-left corner and the size of one block, in window pixels.
struct Feature {
    std::uint8_t x, y, blockWidth, blockHeight;
};

struct WeakClassifier {
    std::uint16_t feature;
    std::uint32_t codes[8];  // bit (code % 32) of word (code / 32)
    float inSet;             // earned by a code in the set
    float outOfSet;          // earned by any other code
};

struct Stage {
    std::uint16_t firstWeak;
    std::uint16_t weakCount;
    float threshold;
};

struct Table {
    int windowWidth;
    int windowHeight;
    const Stage* stages;
    int stageCount;
    const WeakClassifier* weak;
    int weakCount;
    const Feature* features;
    int featureCount;
};

// The table generated from lbpcascade_frontalface_improved.xml.
const Table& FrontalFace();

}  // namespace framing::cascade
