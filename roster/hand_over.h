// The day's list on disk: the photo folder listed, the class list read from the school's
// file and kept beside the program, the trainees still without a photo written out, and the
// photos of the trainees on the list packed into one archive for the school. Every file is
// written whole through a temporary file and a rename, so a full disk leaves no half file.
#pragma once

#include "roster/class_list.h"
#include "roster/day_list.h"

#include <string>
#include <vector>

namespace roster {

// The .jpg files of `directory` with their last-write times (local); none when it is absent.
std::vector<PhotoFile> ListPhotoFolder(const std::wstring& directory);

// A class list from a .csv or .xlsx file (told apart by its bytes). `problem` is the
// operator's words for a file that could not be read; otherwise the list says what it found.
struct ListFile {
    ClassList list;
    std::string problem;
};
ListFile ReadListFile(const std::wstring& path, Date today);

// The system's error code of the step that failed, or 0 when the file was written.
unsigned long WriteListFile(const std::wstring& path, const std::vector<Trainee>& trainees);
unsigned long WriteMissingFile(const std::wstring& path, const DayList& list);

// The photos of the trainees on the list who have one, and the record of saves, at the
// archive's top level.
struct PackOutcome {
    unsigned long error = 0;  // the system's error code, or 0 when the archive was written
    std::size_t photos = 0;
    std::size_t gone = 0;  // photos listed but no longer readable: left out
};
PackOutcome PackPhotos(const std::wstring& archivePath, const std::wstring& photoDirectory, const DayList& list,
                       const LocalTime& now);

// "<yyyyMMdd>", for the names of the day's files.
std::wstring DayStamp(const Date& date);

// Why a file could not be written, in words for the operator, with what to do.
std::string DescribeWriteFailure(unsigned long error, std::string_view fileName);

}  // namespace roster
