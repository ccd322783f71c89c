// The record of saves on disk: each save appends its row to 学员照片\拍照记录.csv, the whole
// file written again through a temporary file and a rename, so that a row is never half
// written and a record some program holds open stays as it was.
#pragma once

#include "roster/save_record.h"

#include <string>

namespace roster {

// The clock's local time now.
LocalTime LocalTimeNow();

// Appends `entry` to the record in `photoDirectory`. The system's error code of the step
// that failed (a DWORD), or 0 when the row is written.
unsigned long AppendToSaveRecord(const std::wstring& photoDirectory, const SaveEntry& entry);

// Why the record could not be written, in words for the operator, with what to do.
std::string DescribeRecordFailure(unsigned long error);

}  // namespace roster
