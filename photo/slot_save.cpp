// Saving a Photo slot as <Student identity>.jpg in the Photo directory, after the operator
// confirms it, and the words for a save that wrote nothing.
#include "photo/photo_save.h"
#include "photo/slots.h"
#include "platform/file_names.h"
#include "platform/files.h"
#include "platform/win_text.h"
#include "ui/modal.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace photo {

namespace {

// The question before saving: kAskBefore + identity + kAskAfter.
constexpr std::string_view kAskBefore = "要保存";
constexpr std::string_view kAskAfter = "的图片吗？";
constexpr std::string_view kAskTitle = "信息：";

// A save that wrote nothing: "“学员照片\<identity>.jpg”没有保存。" and, on a line of its
// own, why and what to do.
constexpr std::string_view kFailureTitle = "保存失败";
constexpr std::string_view kNotSaved = "”没有保存。\n";
constexpr std::string_view kEmptySlotBefore = "第";
constexpr std::string_view kEmptySlotAfter = "张照片还没有拍摄，请先拍照再保存。";
constexpr std::string_view kCorrectTheName = "，请改正名字后再保存。";
constexpr std::string_view kDirectoryMissingBefore = "照片文件夹“";
constexpr std::string_view kDirectoryMissingAfter = "”不存在，也无法重新创建。请检查程序所在的文件夹能否写入。";
constexpr std::string_view kDirectoryIsAFile = "照片文件夹的位置上有一个名为“学员照片”的文件。请把这个文件改名或移走后再保存。";
constexpr std::string_view kPathTooLong =
    "文件的路径太长，Windows 无法保存。请关闭 Orvia，把它放到路径短的文件夹（例如 D:\\Orvia）里再打开。";
constexpr std::string_view kNameRefused =
    "Windows 不接受这个文件名。请点击名字一栏，手工填写名字后再保存（有读卡器时先拿走身份证）。";
constexpr std::string_view kDiskFull = "磁盘已满。请腾出磁盘空间后再保存。";
constexpr std::string_view kAccessDenied = "文件正被其他程序使用，或没有写入的权限。请关闭打开这张照片的程序后再保存。";
constexpr std::string_view kNotEncoded = "照片无法转换成 JPEG 格式。请重新拍照后再保存。";
constexpr std::string_view kFailed = "写入文件时出错。请再保存一次。";

std::string NameReason(std::string_view identity) {
    const std::string_view problem = platform::DescribeNameProblem(PhotoNameProblem(identity));
    if (problem.empty()) return std::string(kFailed);
    return std::string(problem) + std::string(kCorrectTheName);
}

// Why the photo was not saved and what the operator can do about it.
std::string Reason(SaveResult result, int slot, std::string_view identity, const std::wstring& photoDirectory) {
    switch (result) {
    case SaveResult::EmptySlot:
        return std::string(kEmptySlotBefore) + std::to_string(slot) + std::string(kEmptySlotAfter);
    case SaveResult::BadName:
        return NameReason(identity);
    case SaveResult::DirectoryMissing:
        return std::string(kDirectoryMissingBefore) + platform::Narrow(photoDirectory) +
               std::string(kDirectoryMissingAfter);
    case SaveResult::DirectoryIsAFile:
        return std::string(kDirectoryIsAFile);
    case SaveResult::PathTooLong:
        return std::string(kPathTooLong);
    case SaveResult::NameRefused:
        return std::string(kNameRefused);
    case SaveResult::DiskFull:
        return std::string(kDiskFull);
    case SaveResult::AccessDenied:
        return std::string(kAccessDenied);
    case SaveResult::NotEncoded:
        return std::string(kNotEncoded);
    case SaveResult::Saved:
    case SaveResult::Failed:
        break;
    }
    return std::string(kFailed);
}

std::string FailureMessage(SaveResult result, int slot, std::string_view identity,
                           const std::wstring& photoDirectory) {
    const std::string file = platform::Narrow(platform::JoinPath(kPhotoDirectoryName, PhotoFileName(identity)));
    return "“" + file + std::string(kNotSaved) + Reason(result, slot, identity, photoDirectory);
}

}  // namespace

bool PhotoSlots::Save(int slot) {
    const std::string question = std::string(kAskBefore) + identity_() + std::string(kAskAfter);
    if (ui::ShowMessageBox(nullptr, question, kAskTitle, MB_OKCANCEL | MB_TASKMODAL) != IDOK) return false;

    // The name as it is now: it may have changed while the question was open.
    const std::string identity = identity_();
    const SaveResult result = SavePhoto(SlotImage(slot), identity, photoDirectory_);
    if (result == SaveResult::Saved) {
        saved_.Written(identity, SlotImage(slot));
        return true;
    }
    ui::ShowMessageBox(nullptr, FailureMessage(result, slot, identity, photoDirectory_), kFailureTitle,
                       MB_OK | MB_ICONERROR | MB_TASKMODAL);
    return false;
}

}  // namespace photo
