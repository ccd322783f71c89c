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

// A colour written #RRGGBB, as the screen shows it.
constexpr COLORREF Colour(std::uint32_t rrggbb) { return RGB((rrggbb >> 16) & 0xFF, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF); }
// More pixels of a caption's colour than stray edges of other text give.
inline constexpr int kTextPixels = 50;

class OrviaSession : public ::testing::Test {
protected:
    void TearDown() override;

    // Copies orvia.exe into the program directory (if it is not there yet) and starts it;
    // a fatal failure when it does not come up.
    void StartOrvia(const std::vector<std::pair<std::wstring, std::wstring>>& environment = {});
    // The report of a control the main window must know; a failure when it does not.
    Report MustQuery(std::string_view name);
    // The pixels of `colour` the Student label shows on the name bar (inside its outline).
    int NamePixels(COLORREF colour);
    // The main window's pixels, saved as <test name>.png for whoever looks afterwards.
    Screenshot ShootMainWindow(std::string_view label = "");
    // A point in the main window's client coordinates, on the screen.
    POINT Client(int x, int y) const { return orvia_.ToScreen(x, y); }
    std::string TestName() const;

    TempProgramDir dir_;
    OrviaProcess orvia_;
};

}  // namespace e2e
