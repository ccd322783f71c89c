#include "roster/record_file.h"

#include "platform/files.h"
#include "platform/win_text.h"
#include "roster/hand_over.h"

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
    return DescribeWriteFailure(error, kSaveRecordFileName);
}

}  // namespace roster
