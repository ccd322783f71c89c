// Encoding a slot image through GDI+ and writing the file, and saving a slot's photo into
// the Photo directory: what lands on disk, and what does not when something is in the way.
#include "app/startup.h"
#include "photo/image_encoding.h"
#include "photo/photo_save.h"
#include "photo/slot_image.h"
#include "platform/files.h"
#include "platform/gdiplus.h"
#include "platform/owners.h"
#include "platform/win_text.h"
#include "tests/e2e/harness.h"
#include "ui/pictures.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {

using photo::EncoderFormat;
using photo::SaveResult;
using photo::WriteOutcome;
using Bytes = std::vector<std::uint8_t>;
using TempDirectory = e2e::TempProgramDir;

constexpr int kWidth = 295;
constexpr int kHeight = 412;

// A slot image whose every pixel differs from its neighbours: (x, y) is blue x, green y,
// red x + y, each modulo 256.
const Bytes& SlotImage() {
    static const Bytes image = [] {
        const std::size_t stride = 4 * kWidth;
        Bytes pixels(stride * kHeight);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                std::uint8_t* p = pixels.data() + static_cast<std::size_t>(y) * stride + 4 * static_cast<std::size_t>(x);
                p[0] = static_cast<std::uint8_t>(x);
                p[1] = static_cast<std::uint8_t>(y);
                p[2] = static_cast<std::uint8_t>(x + y);
            }
        }
        return photo::MakeSlotImage(kWidth, kHeight, pixels, stride);
    }();
    return image;
}

using e2e::DirectoryEntries;

struct Size {
    UINT width = 0, height = 0;
    bool operator==(const Size&) const = default;
};

std::optional<Size> DecodedSize(const Bytes& file) {
    app::StartGdiplusOnce();
    const auto bitmap = ui::DecodePicture(file);
    if (!bitmap) return std::nullopt;
    return Size{bitmap->GetWidth(), bitmap->GetHeight()};
}

// The JFIF header's density: units (1 = dots per inch), horizontal, vertical.
struct Density {
    int units = -1, x = -1, y = -1;
    bool operator==(const Density&) const = default;
};

std::optional<Density> JfifDensity(const Bytes& jpeg) {
    if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) return std::nullopt;
    // Marker segments up to the first scan: FF, marker, two length bytes counting themselves.
    for (std::size_t at = 2; at + 4 <= jpeg.size() && jpeg[at] == 0xFF && jpeg[at + 1] != 0xDA;) {
        const std::size_t length = static_cast<std::size_t>(jpeg[at + 2]) << 8 | jpeg[at + 3];
        const std::uint8_t* body = jpeg.data() + at + 4;
        if (jpeg[at + 1] == 0xE0 && length >= 16 && at + 2 + length <= jpeg.size() &&
            std::equal(body, body + 5, "JFIF")) {  // the terminating zero included
            return Density{body[7], body[8] << 8 | body[9], body[10] << 8 | body[11]};
        }
        at += 2 + length;
    }
    return std::nullopt;
}

Bytes MustEncode(EncoderFormat format) {
    Bytes encoded;
    EXPECT_TRUE(photo::EncodeImage(SlotImage(), format, L"", encoded));
    return encoded;
}

// A handle that keeps every other opener (this process's included) off the file.
platform::UniqueFile OpenUnshared(const std::wstring& path) {
    return platform::UniqueFile(
        ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// ---- encoding --------------------------------------------------------------------------

TEST(ImageEncoding, EveryFormatDecodesAgainAtTheSlotSize) {
    struct Expected {
        EncoderFormat format;
        Bytes signature;
    };
    const Expected formats[] = {
        {EncoderFormat::Bmp, {'B', 'M'}},
        {EncoderFormat::Jpeg, {0xFF, 0xD8, 0xFF}},
        {EncoderFormat::Gif, {'G', 'I', 'F', '8'}},
        {EncoderFormat::Tiff, {}},  // "II*\0" or "MM\0*", checked below
        {EncoderFormat::Png, {0x89, 'P', 'N', 'G'}},
    };
    for (const Expected& expected : formats) {
        SCOPED_TRACE(static_cast<int>(expected.format));
        Bytes encoded;
        WriteOutcome outcome = WriteOutcome::Failed;
        ASSERT_TRUE(photo::EncodeImage(SlotImage(), expected.format, L"", encoded, &outcome));
        EXPECT_EQ(outcome, WriteOutcome::NotAsked);
        ASSERT_GE(encoded.size(), 4u);
        if (expected.format == EncoderFormat::Tiff) {
            EXPECT_TRUE((encoded[0] == 'I' && encoded[1] == 'I') || (encoded[0] == 'M' && encoded[1] == 'M'));
        } else {
            EXPECT_TRUE(std::equal(expected.signature.begin(), expected.signature.end(), encoded.begin()));
        }
        EXPECT_EQ(DecodedSize(encoded), (Size{kWidth, kHeight}));
    }
}

TEST(ImageEncoding, LosslessFormatsKeepEveryPixelInPlace) {
    app::StartGdiplusOnce();
    for (const EncoderFormat format : {EncoderFormat::Bmp, EncoderFormat::Png, EncoderFormat::Tiff}) {
        SCOPED_TRACE(static_cast<int>(format));
        const auto bitmap = ui::DecodePicture(MustEncode(format));
        ASSERT_TRUE(bitmap);
        // Corners and a pixel inside: rows upside down or colours swapped show here.
        const std::pair<int, int> points[] = {{0, 0}, {kWidth - 1, 0}, {0, kHeight - 1}, {kWidth - 1, kHeight - 1}, {100, 200}};
        for (const auto& [x, y] : points) {
            Gdiplus::Color colour;
            ASSERT_EQ(bitmap->GetPixel(x, y, &colour), Gdiplus::Ok);
            EXPECT_EQ(colour.GetB(), static_cast<BYTE>(x)) << x << "," << y;
            EXPECT_EQ(colour.GetG(), static_cast<BYTE>(y)) << x << "," << y;
            EXPECT_EQ(colour.GetR(), static_cast<BYTE>(x + y)) << x << "," << y;
        }
    }
}

TEST(ImageEncoding, AJpegSaysThreeHundredDotsPerInch) {
    EXPECT_EQ(JfifDensity(MustEncode(EncoderFormat::Jpeg)), (Density{1, 300, 300}));
}

TEST(ImageEncoding, TooFewBytesOrNoPictureGiveNothingAndWriteNothing) {
    TempDirectory dir;
    const Bytes twoBytes{'B', 'M'};
    Bytes notAPicture = SlotImage();
    std::fill(notAPicture.begin(), notAPicture.begin() + 54, std::uint8_t{0x5A});
    for (const Bytes& image : {Bytes{}, twoBytes, notAPicture}) {
        SCOPED_TRACE(image.size());
        Bytes encoded{1, 2, 3};
        WriteOutcome outcome = WriteOutcome::Written;
        EXPECT_FALSE(photo::EncodeImage(image, EncoderFormat::Jpeg, dir / L"photo", encoded, &outcome));
        EXPECT_TRUE(encoded.empty());
        EXPECT_EQ(outcome, WriteOutcome::Failed);
        EXPECT_FALSE(photo::EncodeImage(image, EncoderFormat::Png, L"", encoded, &outcome));
        EXPECT_EQ(outcome, WriteOutcome::NotAsked);
    }
    EXPECT_TRUE(DirectoryEntries(dir.Path()).empty());
}

// ---- the file written ------------------------------------------------------------------

TEST(ImageEncoding, ThePathGetsTheFormatsExtensionUnlessItHasIt) {
    TempDirectory dir;
    struct Case {
        EncoderFormat format;
        const wchar_t* path;
        const wchar_t* written;
    };
    const Case cases[] = {
        {EncoderFormat::Jpeg, L"upper.JPG", L"upper.JPG"},
        {EncoderFormat::Jpeg, L"plain", L"plain.jpg"},
        {EncoderFormat::Jpeg, L"other.png", L"other.png.jpg"},
        {EncoderFormat::Bmp, L"b", L"b.bmp"},
        {EncoderFormat::Gif, L"g", L"g.gif"},
        {EncoderFormat::Tiff, L"t.TIFF", L"t.TIFF"},
        {EncoderFormat::Png, L"张三", L"张三.png"},
        // Spaces inside the name are the name's: only a blank path is taken as no path.
        {EncoderFormat::Jpeg, L" spaced　name ", L" spaced　name .jpg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::Narrow(c.path));
        Bytes encoded;
        WriteOutcome outcome = WriteOutcome::Failed;
        ASSERT_TRUE(photo::EncodeImage(SlotImage(), c.format, dir / c.path, encoded, &outcome));
        EXPECT_EQ(outcome, WriteOutcome::Written);
        EXPECT_EQ(platform::ReadWholeFile(dir / c.written), encoded);
    }
    EXPECT_EQ(DirectoryEntries(dir.Path()).size(), std::size(cases)) << "a file too many: an extension doubled, or a temporary left";
}

TEST(ImageEncoding, ABlankPathEncodesButWritesNothing) {
    TempDirectory dir;
    wchar_t previous[MAX_PATH + 1] = {};
    ASSERT_NE(::GetCurrentDirectoryW(MAX_PATH + 1, previous), 0u);
    ASSERT_TRUE(::SetCurrentDirectoryW(dir.Path().c_str()));  // where a relative name would land
    for (const wchar_t* blank : {L"", L"   ", L"\u3000", L" \u3000 \u3000  "}) {
        Bytes encoded;
        WriteOutcome outcome = WriteOutcome::Failed;
        EXPECT_TRUE(photo::EncodeImage(SlotImage(), EncoderFormat::Jpeg, blank, encoded, &outcome));
        EXPECT_FALSE(encoded.empty());
        EXPECT_EQ(outcome, WriteOutcome::NotAsked);
    }
    ::SetCurrentDirectoryW(previous);
    EXPECT_TRUE(DirectoryEntries(dir.Path()).empty());
}

TEST(ImageEncoding, AFailedWriteLeavesTheEarlierFileAsItWas) {
    TempDirectory dir;
    Bytes encoded;
    WriteOutcome outcome = WriteOutcome::Written;
    EXPECT_TRUE(photo::EncodeImage(SlotImage(), EncoderFormat::Jpeg, dir / L"missing\\photo.jpg", encoded, &outcome));
    EXPECT_FALSE(encoded.empty()) << "the bytes are there even when the file is not";
    EXPECT_EQ(outcome, WriteOutcome::DirectoryMissing);

    const std::wstring earlier = dir / L"photo.jpg";
    const Bytes earlierBytes{'e', 'a', 'r', 'l', 'i', 'e', 'r'};
    ASSERT_TRUE(platform::WriteWholeFile(earlier, earlierBytes));
    {
        const platform::UniqueFile lock = OpenUnshared(earlier);
        ASSERT_TRUE(lock);
        EXPECT_TRUE(photo::EncodeImage(SlotImage(), EncoderFormat::Jpeg, earlier, encoded, &outcome));
        EXPECT_EQ(outcome, WriteOutcome::AccessDenied);
    }
    EXPECT_EQ(platform::ReadWholeFile(earlier), earlierBytes);
    EXPECT_EQ(DirectoryEntries(dir.Path()), std::vector<std::wstring>{L"photo.jpg"}) << "a temporary file was left";

    // And once the other program lets go, the same call replaces it whole.
    EXPECT_TRUE(photo::EncodeImage(SlotImage(), EncoderFormat::Jpeg, earlier, encoded, &outcome));
    EXPECT_EQ(outcome, WriteOutcome::Written);
    EXPECT_EQ(platform::ReadWholeFile(earlier), encoded);
}

// ---- saving a slot's photo -------------------------------------------------------------

class SavePhoto : public ::testing::Test {
protected:
    std::wstring Photos() const { return dir_ / photo::kPhotoDirectoryName; }
    std::wstring PhotoPath(const wchar_t* name) const { return platform::JoinPath(Photos(), name); }
    SaveResult Save(const Bytes& image, std::string_view identity) {
        return photo::SavePhoto(image, identity, Photos());
    }
    TempDirectory dir_;
};

TEST_F(SavePhoto, WritesTheIdentityAsAJpegInThePhotoDirectoryMadeAgainIfGone) {
    ASSERT_FALSE(platform::IsDirectory(Photos()));
    EXPECT_EQ(Save(SlotImage(), "张三_110101199001011234"), SaveResult::Saved);
    const auto file = platform::ReadWholeFile(PhotoPath(L"张三_110101199001011234.jpg"));
    ASSERT_TRUE(file);
    EXPECT_EQ(DecodedSize(*file), (Size{kWidth, kHeight}));

    EXPECT_EQ(Save(SlotImage(), ""), SaveResult::Saved) << "an empty name is allowed";
    EXPECT_TRUE(e2e::IsPlainFile(PhotoPath(L".jpg")));
    EXPECT_EQ(DirectoryEntries(Photos()), (std::vector<std::wstring>{L".jpg", L"张三_110101199001011234.jpg"}));
}

// The photos a save replaces are kept whole in 已替换, each under a name of its own even
// within one second; nothing else in the directory changes.
TEST_F(SavePhoto, ASecondSaveReplacesTheFirst) {
    EXPECT_EQ(Save(SlotImage(), "李四"), SaveResult::Saved);
    const auto first = platform::ReadWholeFile(PhotoPath(L"李四.jpg"));
    const Bytes darker = photo::AdjustBrightness(SlotImage(), photo::Direction::Darker);
    EXPECT_EQ(Save(darker, "李四"), SaveResult::Saved);
    Bytes expected;
    ASSERT_TRUE(photo::EncodeImage(darker, EncoderFormat::Jpeg, L"", expected));
    EXPECT_EQ(platform::ReadWholeFile(PhotoPath(L"李四.jpg")), expected);
    EXPECT_EQ(DirectoryEntries(Photos()), (std::vector<std::wstring>{L"已替换", L"李四.jpg"}));

    // Two more saves at once: three replaced photos, none written over another.
    EXPECT_EQ(Save(SlotImage(), "李四"), SaveResult::Saved);
    EXPECT_EQ(Save(darker, "李四"), SaveResult::Saved);
    const std::wstring replaced = PhotoPath(L"已替换");
    std::vector<Bytes> kept;
    for (const std::wstring& name : DirectoryEntries(replaced)) {
        EXPECT_EQ(name.rfind(L"李四_", 0), 0u);
        kept.push_back(platform::ReadWholeFile(platform::JoinPath(replaced, name)).value_or(Bytes{}));
    }
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_EQ(std::count(kept.begin(), kept.end(), *first), 2) << "the first photo, saved twice, kept twice";
    EXPECT_EQ(std::count(kept.begin(), kept.end(), expected), 1);
}

TEST_F(SavePhoto, RefusesAnEmptySlotOrANameThatIsNoFileNameAndWritesNothing) {
    EXPECT_EQ(Save({}, "王五"), SaveResult::EmptySlot);
    for (const char* name : {"a/b", "..\\up", "C:x", "what?", "tab\there", "CON", "com1.txt", "Lpt9"}) {
        EXPECT_EQ(Save(SlotImage(), name), SaveResult::BadName) << name;
    }
    EXPECT_TRUE(DirectoryEntries(dir_.Path()).empty()) << "something was written, or the directory made, for nothing";
}

// The file name is judged whole: an identity ending in a dot or a space (an ID number a
// maker's library pads) ends in ".jpg" on disk, which Windows takes as it is.
TEST_F(SavePhoto, AnIdentityEndingInADotOrASpaceIsSavedUnderItsWholeName) {
    EXPECT_EQ(Save(SlotImage(), "dot."), SaveResult::Saved);
    EXPECT_EQ(Save(SlotImage(), "王小明_110101900301001   "), SaveResult::Saved);
    EXPECT_EQ(DirectoryEntries(Photos()), (std::vector<std::wstring>{L"dot..jpg", L"王小明_110101900301001   .jpg"}));
}

TEST_F(SavePhoto, SaysWhyWhenTheFileCannotBeWritten) {
    // A plain file where the directory belongs: it cannot be made, and the file stays.
    const Bytes blocker{'x'};
    ASSERT_TRUE(platform::WriteWholeFile(Photos(), blocker));
    EXPECT_EQ(Save(SlotImage(), "钱七"), SaveResult::DirectoryIsAFile);
    EXPECT_EQ(platform::ReadWholeFile(Photos()), blocker);
    EXPECT_EQ(photo::SavePhoto(SlotImage(), "钱七", dir_ / L"no such\\学员照片"), SaveResult::DirectoryMissing);

    // The photo held open by another program.
    ASSERT_TRUE(::DeleteFileW(Photos().c_str()));
    EXPECT_EQ(Save(SlotImage(), "钱七"), SaveResult::Saved);
    const auto before = platform::ReadWholeFile(PhotoPath(L"钱七.jpg"));
    {
        const platform::UniqueFile lock = OpenUnshared(PhotoPath(L"钱七.jpg"));
        ASSERT_TRUE(lock);
        EXPECT_EQ(Save(photo::AdjustBrightness(SlotImage(), photo::Direction::Brighter), "钱七"), SaveResult::AccessDenied);
    }
    EXPECT_EQ(platform::ReadWholeFile(PhotoPath(L"钱七.jpg")), before);
    EXPECT_EQ(DirectoryEntries(Photos()), std::vector<std::wstring>{L"钱七.jpg"});

    // A name that fits Windows' limit while its temporary name does not: too long, not missing.
    const std::size_t room = MAX_PATH - 1 - Photos().size() - 1 - 4;  // separator and ".jpg"
    const std::string longName(room, 'x');
    EXPECT_EQ(Save(SlotImage(), longName), SaveResult::PathTooLong);
    EXPECT_EQ(DirectoryEntries(Photos()), std::vector<std::wstring>{L"钱七.jpg"});
}

}  // namespace
