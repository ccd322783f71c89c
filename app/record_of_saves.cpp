#include "app/record_of_saves.h"

#include "photo/photo_save.h"
#include "platform/files.h"
#include "platform/win_text.h"
#include "roster/record_file.h"
#include "ui/modal.h"

#include <windows.h>

namespace app {

namespace {
constexpr std::string_view kNotRecorded = "照片已保存，但拍照记录没有写上：";
}  // namespace

void RecordSave(std::string_view identity, bool namedFromCard, const std::wstring& photoDirectory) {
    const std::wstring file = photo::PhotoFileName(identity);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    std::uint64_t size = 0;
    if (::GetFileAttributesExW(platform::JoinPath(photoDirectory, file).c_str(), GetFileExInfoStandard, &data))
        size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    const roster::NameAndId who = roster::SplitIdentity(identity);
    const roster::SaveEntry entry{roster::LocalTimeNow(), who.name, who.idNumber, platform::Narrow(file), size,
                                  namedFromCard ? roster::SaveWay::Card : roster::SaveWay::Typed};
    if (const unsigned long error = roster::AppendToSaveRecord(photoDirectory, entry)) {
        ui::ShowMessageBox(nullptr, std::string(kNotRecorded) + roster::DescribeRecordFailure(error) + "。", "Orvia",
                           MB_OK | MB_ICONWARNING | MB_TASKMODAL);
    }
}

}  // namespace app
