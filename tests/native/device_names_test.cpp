#include "device_names.h"

#include <gtest/gtest.h>

namespace {

using vedio::ListableName;

TEST(ListableName, NamesThatWouldSplitOrShiftTheListAreMadeSafe) {
    EXPECT_EQ(ListableName(u"USB Camera"), u"USB Camera");
    EXPECT_EQ(ListableName(u"高拍仪 2"), u"高拍仪 2");
    EXPECT_EQ(ListableName(u"A|B"), u"A/B");             // would split into two devices
    EXPECT_EQ(ListableName(u"Cam\r\nX\t"), u"Cam  X ");  // no line breaks in a list entry
    // The list's reader skips empty and all-digit fields: such a name would vanish and every
    // later camera would get the wrong index.
    EXPECT_EQ(ListableName(u""), u"Camera");
    EXPECT_EQ(ListableName(u"1234"), u"Camera 1234");
    EXPECT_EQ(ListableName(u"007x"), u"007x");
}

}  // namespace
