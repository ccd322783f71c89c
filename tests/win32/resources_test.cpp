#include "camera/camera_component.h"
#include "platform/deployment.h"
#include "platform/program_resource.h"
#include "reader/reader_component.h"
#include "app/startup.h"
#include "platform/files.h"
#include "platform/gdiplus.h"
#include "tests/e2e/harness.h"
#include "ui/pictures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

TEST(EmbeddedResources, ComponentImagesAreTheBuiltDllsByteForByte) {
    const std::wstring built = e2e::ComponentDir();
    if (built.empty()) GTEST_SKIP() << "ORVIA_COMPONENT_DIR is not set";
    for (const platform::ComponentFile* file : {&reader::kTermb, &reader::kUnPack, &reader::kSdtapi, &camera::kVedioCapture}) {
        const auto image = platform::ComponentImage(*file);
        const auto onDisk = platform::ReadWholeFile(built + L"\\" + std::wstring(file->fileName));
        ASSERT_TRUE(onDisk.has_value());
        ASSERT_FALSE(image.empty());
        EXPECT_TRUE(std::vector<std::uint8_t>(image.begin(), image.end()) == *onDisk);
    }
}

TEST(EmbeddedResources, ButtonPicturesDecodeAtTheirSizesWithTransparency) {
    app::StartGdiplusOnce();
    struct Expected {
        const wchar_t* name;
        UINT size;
    };
    for (const Expected& e : {Expected{L"SETTINGS_NORMAL", 29}, Expected{L"SETTINGS_HOVER", 29},
                              Expected{L"SETTINGS_PRESSED", 29}, Expected{L"CLOSE_NORMAL", 30},
                              Expected{L"CLOSE_HOVER", 30}, Expected{L"CLOSE_PRESSED", 30}}) {
        auto picture = ui::DecodePicture(platform::ProgramResource(e.name));
        ASSERT_TRUE(picture) << e.name;
        EXPECT_EQ(picture->GetWidth(), e.size);
        EXPECT_EQ(picture->GetHeight(), e.size);
        Gdiplus::Color corner;
        picture->GetPixel(0, 0, &corner);
        EXPECT_EQ(corner.GetA(), 0) << "corner of " << e.name << " should be transparent";
    }
    EXPECT_FALSE(ui::DecodePicture(platform::ProgramResource(L"NO_SUCH_PICTURE")));
    const std::vector<std::uint8_t> garbage(100, 0x42);
    EXPECT_FALSE(ui::DecodePicture(garbage));
}

}  // namespace
