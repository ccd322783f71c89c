// Which trainees of the class list have a photo in 学员照片: a trainee has one when the
// folder holds the file a save names for them, <name>_<ID number>.jpg. File names are
// compared as Windows compares them for ASCII letters (without case), so "X" or "x" at the
// end of the number and ".JPG" name the same file. And the trainee a card read names, found
// by ID number. The Windows side lists the folder (FindFirstFileW) and passes the names in
// UTF-8 with their last-write times. Portable.
#pragma once

#include "roster/calendar.h"
#include "roster/class_list.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace roster {

struct PhotoFile {
    std::string name;  // the file's name inside the folder, UTF-8
    LocalTime lastWrite;
};

struct TraineePhoto {
    bool taken = false;
    LocalTime lastWrite;   // of the photo, when taken
    std::string fileName;  // as the folder spells it, when taken
};

struct PhotoStatus {
    std::vector<TraineePhoto> trainees;  // one per trainee, in the list's order
    std::size_t taken = 0;
    std::size_t total = 0;
};

// The Student identity that names a trainee of the list: <name>_<ID number>, or the name
// alone for one listed without a number. Their photo is saved as it plus ".jpg".
std::string IdentityOf(const Trainee& trainee);
std::string PhotoFileName(const Trainee& trainee);

PhotoStatus FindPhotos(std::span<const Trainee> trainees, std::span<const PhotoFile> files);

// "已拍" or "未拍".
std::string_view DescribePhoto(const TraineePhoto& photo);

// The trainees by ID number (a final x read as X), for the trainee a card names.
class TraineeIndex {
public:
    explicit TraineeIndex(std::span<const Trainee> trainees);

    // The position in the list of the trainee with `idNumber`; nullopt when not on it.
    std::optional<std::size_t> Find(std::string_view idNumber) const;

private:
    std::unordered_map<std::string, std::size_t> positions_;
};

}  // namespace roster
