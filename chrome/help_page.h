// The Help window's page: its name, its five illustrations and its bytes. No platform code,
// so the bytes are tested natively.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace chrome {

inline constexpr char kHelpPageName[] = "helplisti.html";

// An illustration of the page: the program resource that carries it and the file it is
// written to beside the page.
struct HelpIllustration {
    std::string_view resource;
    std::string_view fileName;
};

// In page order: four short animations of the main steps, then the whole window.
inline constexpr std::array<HelpIllustration, 5> kHelpIllustrations{{
    {"HELP_CAMERA_GIF", "helplisti-1-camera.gif"},
    {"HELP_ZOOM_PAN_GIF", "helplisti-2-zoom-pan.gif"},
    {"HELP_CAPTURE_GIF", "helplisti-3-capture.gif"},
    {"HELP_BRIGHTEN_SAVE_GIF", "helplisti-4-brighten-save.gif"},
    {"HELP_WINDOW_PNG", "helplisti-5-window.png"},
}};

// The page with these image addresses, in page order: GBK text, CR LF between lines, no
// byte-order mark, no terminating zero. The addresses are taken as they are (GBK bytes).
std::vector<std::uint8_t> HelpPageBytes(std::span<const std::string, 5> imageAddresses);

// The file: address of an absolute Windows path ("C:\dir\a b.gif" gives
// "file:///C:/dir/a%20b.gif"). Bytes outside ASCII are kept as they are.
std::string FileAddress(std::string_view windowsPath);

}  // namespace chrome
