// Draws the program's pictures and writes them into the directory given as argument:
//   orvia_make_artwork <directory>
// The output is the same bytes on every run; the files are kept in the source tree.
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "icons.h"
#include "png_writer.h"

namespace {

bool WriteFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "orvia_make_artwork: cannot write %s\n", path.string().c_str());
        return false;
    }
    return true;
}

bool WritePng(const std::filesystem::path& path, const artwork::Image& image) {
    return WriteFile(path, artwork::EncodePng(image.width, image.height, image.pixels));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvia_make_artwork <output directory>\n");
        return 2;
    }
    try {
        using artwork::ButtonState;
        const std::filesystem::path dir = argv[1];
        std::filesystem::create_directories(dir);

        const std::pair<const char*, ButtonState> states[] = {
            {"normal", ButtonState::Normal},
            {"hover", ButtonState::Hover},
            {"pressed", ButtonState::Pressed},
        };
        bool ok = true;
        for (const auto& [name, state] : states) {
            ok = WritePng(dir / (std::string("settings_") + name + ".png"),
                          artwork::SettingsButton(state)) && ok;
            ok = WritePng(dir / (std::string("close_") + name + ".png"),
                          artwork::CloseButton(state)) && ok;
        }
        const std::vector<artwork::Image> icon = {
            artwork::ProgramIcon(16), artwork::ProgramIcon(32), artwork::ProgramIcon(48)};
        ok = WriteFile(dir / "orvia.ico", artwork::EncodeIco(icon)) && ok;
        return ok ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orvia_make_artwork: %s\n", e.what());
        return 1;
    }
}
