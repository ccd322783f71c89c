// The fixture of the end-to-end tests: a fresh program directory with orvia.exe copied
// in, the program started there on request, and a picture of the screen when a test fails.
#pragma once

#include "tests/e2e/harness.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace e2e {

// The main window's size, from its Template.
inline constexpr int kMainWidth = 1024;
inline constexpr int kMainHeight = 650;
// The accent blue of the interface (#0088FF) and the background, as COLORREF.
inline constexpr COLORREF kAccentBlue = RGB(0x00, 0x88, 0xFF);
inline constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);

// A colour written #RRGGBB as control reports give it (0x00BBGGRR).
constexpr std::uint64_t Colour(std::uint32_t rrggbb) {
    return ((rrggbb & 0xFFu) << 16) | (rrggbb & 0xFF00u) | ((rrggbb >> 16) & 0xFFu);
}

class OrviaSession : public ::testing::Test {
protected:
    void TearDown() override;

    // Copies orvia.exe into the program directory (if it is not there yet) and starts it;
    // a fatal failure when it does not come up.
    void StartOrvia(const std::vector<std::pair<std::wstring, std::wstring>>& environment = {});
    // The report of a control the main window must know; a failure when it does not.
    Report MustQuery(std::string_view name);
    // The main window's pixels, saved as <test name>.png for whoever looks afterwards.
    Screenshot ShootMainWindow(std::string_view label = "");
    // A point in the main window's client coordinates, on the screen.
    POINT Client(int x, int y) const { return orvia_.ToScreen(x, y); }
    std::string TestName() const;

    TempProgramDir dir_;
    OrviaProcess orvia_;
};

}  // namespace e2e
