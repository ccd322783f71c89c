#include "app/photo_directory.h"

#include "photo/photo_save.h"
#include "platform/files.h"
#include "platform/owners.h"
#include "platform/win_text.h"

#include <windows.h>

#include <string_view>

namespace app {

namespace {
constexpr std::string_view kIsAFile = "程序所在的文件夹里有一个名为“学员照片”的文件，照片将无法保存。请把这个文件改名或移走。";
constexpr std::string_view kNotWritableBefore = "文件夹“";
constexpr std::string_view kNotWritableAfter =
    "”不能写入，照片将无法保存。请关闭 Orvia，把它复制到可以写入的文件夹（例如 D:\\Orvia）里再打开。";

// Whether a file can be made in `directory`: a probe that goes again when it is closed.
bool CanWriteIn(const std::wstring& directory) {
    const std::wstring probe = platform::TemporaryPathBeside(platform::JoinPath(directory, L"写入检查"));
    platform::UniqueFile file(::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return static_cast<bool>(file);
}
}  // namespace

std::wstring EnsurePhotoDirectoryIn(const std::wstring& directory) {
    // With its trailing separator, as the rest of the program expects it.
    std::wstring path = platform::JoinPath(directory, photo::kPhotoDirectoryName) + L"\\";
    if (!platform::IsDirectory(path)) ::CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

std::string PhotoDirectoryProblem(const std::wstring& directory) {
    const std::wstring path = platform::JoinPath(directory, photo::kPhotoDirectoryName);
    if (platform::Exists(path) && !platform::IsDirectory(path)) return std::string(kIsAFile);
    if (platform::IsDirectory(path) && CanWriteIn(path)) return {};
    const std::wstring& unwritable = platform::IsDirectory(path) ? path : directory;
    return std::string(kNotWritableBefore) + platform::Narrow(unwritable) + std::string(kNotWritableAfter);
}

}  // namespace app
