#include "roster/record_file.h"

#include "platform/files.h"
#include "platform/win_text.h"

#include <windows.h>

namespace roster {

LocalTime LocalTimeNow() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return {{now.wYear, now.wMonth, now.wDay}, now.wHour, now.wMinute, now.wSecond};
}

unsigned long AppendToSaveRecord(const std::wstring& photoDirectory, const SaveEntry& entry) {
    const std::wstring path = platform::JoinPath(photoDirectory, platform::Wide(kSaveRecordFileName));
    std::string current;
    if (platform::Exists(path)) {
        const auto bytes = platform::ReadWholeFile(path);
        // A record there but unreadable (held by another program) is not started afresh:
        // that would throw its rows away.
        if (!bytes) {
            const DWORD error = ::GetLastError();
            return error != ERROR_SUCCESS ? error : ERROR_READ_FAULT;
        }
        current.assign(bytes->begin(), bytes->end());
    }
    const std::string next = AppendSave(current, entry);
    return platform::WriteFileWhole(path, {reinterpret_cast<const std::uint8_t*>(next.data()), next.size()});
}

std::string DescribeRecordFailure(unsigned long error) {
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_ACCESS_DENIED:
        return "拍照记录.csv 正被别的程序打开或不许写入，请关闭它";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "磁盘已满，请腾出空间";
    default:
        return "写入出错（错误 " + std::to_string(error) + "）";
    }
}

}  // namespace roster
