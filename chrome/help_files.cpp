#include "chrome/help_files.h"

#include "chrome/help_page.h"
#include "platform/files.h"
#include "platform/program_resource.h"
#include "platform/win_text.h"

#include <windows.h>

#include <array>

namespace chrome {

namespace {
std::wstring WithBackslash(std::wstring directory) {
    if (!directory.empty() && directory.back() != L'\\') directory += L'\\';
    return directory;
}

// The page's text is GBK: so are its addresses.
constexpr UINT kGbkCodePage = 936;

void WriteIllustrations(const std::wstring& directory) {
    for (const HelpIllustration& picture : kHelpIllustrations) {
        const std::wstring path = directory + platform::Wide(picture.fileName);
        if (platform::Exists(path)) continue;
        const auto bytes = platform::ProgramResource(platform::Wide(picture.resource));
        if (!bytes.empty()) platform::CreateFileWhole(path, bytes);  // a missing picture only leaves a gap
    }
}

// The page of `directory`, present or written now; empty when it is neither.
std::wstring PageIn(const std::wstring& directory) {
    if (directory.empty()) return {};
    const std::wstring page = directory + platform::Wide(kHelpPageName);
    if (!platform::Exists(page)) {
        std::array<std::string, 5> addresses;
        for (std::size_t i = 0; i < addresses.size(); ++i)
            addresses[i] = FileAddress(platform::ToCodePage(directory + platform::Wide(kHelpIllustrations[i].fileName), kGbkCodePage));
        // Whole or not at all; a page that appeared meanwhile is kept.
        if (!platform::CreateFileWhole(page, HelpPageBytes(addresses)) && !platform::Exists(page)) return {};
    }
    WriteIllustrations(directory);
    return page;
}
}  // namespace

HelpPageDirectories DefaultHelpPageDirectories() {
    HelpPageDirectories directories;
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT system = ::GetSystemDirectoryW(buffer, MAX_PATH);
    if (system > 0 && system < MAX_PATH) directories.preferred = WithBackslash(buffer);
    const DWORD temp = ::GetTempPathW(MAX_PATH, buffer);
    if (temp > 0 && temp < MAX_PATH) directories.fallback = WithBackslash(buffer);
    return directories;
}

std::wstring EnsureHelpPage(const HelpPageDirectories& directories) {
    if (std::wstring page = PageIn(directories.preferred); !page.empty()) return page;
    if (std::wstring page = PageIn(directories.fallback); !page.empty()) return page;
    return directories.preferred + platform::Wide(kHelpPageName);
}

}  // namespace chrome
