#include "tests/e2e/orvia_session.h"

#include "app/main_controls.h"
#include "platform/win_text.h"

namespace mc = app::main_controls;

namespace e2e {

std::string OrviaSession::TestName() const {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return info ? std::string(info->test_suite_name()) + "." + info->name() : std::string("unknown");
}

void OrviaSession::TearDown() {
    if (HasFailure()) {
        const std::wstring path = ShotPath(TestName() + "-failure");
        if (Screenshot::WholeScreen().SavePng(path)) std::printf("screen saved to %s\n", platform::Narrow(path).c_str());
    }
}

void OrviaSession::StartOrvia(const std::vector<std::pair<std::wstring, std::wstring>>& environment) {
    ASSERT_FALSE(dir_.Path().empty()) << "no temporary program directory";
    ASSERT_FALSE(OrviaExePath().empty()) << "ORVIA_EXE is not set";
    if (!IsPlainFile(dir_ / L"orvia.exe")) {
        ASSERT_FALSE(dir_.CopyOrvia().empty()) << "orvia.exe could not be copied from " << platform::Narrow(OrviaExePath());
    }
    ASSERT_TRUE(orvia_.Start(dir_.Path(), environment)) << orvia_.Error();
}

Report OrviaSession::MustQuery(std::string_view name) {
    Report report = orvia_.Query(name);
    EXPECT_FALSE(report.empty()) << "the main window did not answer about \"" << name << "\"";
    return report;
}

int OrviaSession::NamePixels(COLORREF colour) {
    const RECT label = OnScreen(MustQuery(mc::kStudentLabel.name));
    RECT bar = OnScreen(MustQuery("外形框4"));
    ::InflateRect(&bar, -1, -1);
    RECT area{};
    ::IntersectRect(&area, &label, &bar);
    return CountColourOnScreen(area, colour);
}

Screenshot OrviaSession::ShootMainWindow(std::string_view label) {
    Screenshot shot = Screenshot::OfWindow(orvia_.MainWindow());
    std::string name = TestName();
    if (!label.empty()) {
        name += '-';
        name += label;
    }
    shot.SavePng(ShotPath(name));
    return shot;
}

}  // namespace e2e
