// The day's list as the desk keeps it: the class list, which of its trainees have a photo
// (from a listing of 学员照片, then each save as it happens), and what the list window and
// the hand-over show of it. Portable; texts are UTF-8.
#pragma once

#include "roster/class_list.h"
#include "roster/photo_status.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace roster {

class DayList {
public:
    DayList() : index_({}) {}
    // A new list: nobody has a photo until SetPhotos says so.
    void SetTrainees(std::vector<Trainee> trainees);
    // The photo folder as listed now.
    void SetPhotos(std::span<const PhotoFile> files);
    // One photo written: its trainee, when on the list, has one now.
    void PhotoSaved(const PhotoFile& file);

    const std::vector<Trainee>& Trainees() const { return trainees_; }
    const PhotoStatus& Status() const { return status_; }
    bool Empty() const { return trainees_.empty(); }
    // The position of the trainee with `idNumber`; nullopt when not on the list.
    std::optional<std::size_t> Find(std::string_view idNumber) const { return index_.Find(idNumber); }

private:
    std::vector<Trainee> trainees_;
    TraineeIndex index_;
    PhotoStatus status_;
};

// The list window's title: "已拍 37 / 共 40".
std::string CountTitle(const PhotoStatus& status);

// The rows the list window shows, each with the trainee's position in the list: every
// trainee, or only those without a photo. Cells: name, ID number, class, and 已拍 with the
// time of the latest photo ("已拍 2026-12-10 14:03") or 未拍.
struct ShownRows {
    std::vector<std::vector<std::string>> cells;
    std::vector<std::size_t> positions;
};
ShownRows RowsToShow(const DayList& list, bool onlyMissing);

// The trainees still without a photo, as a CSV in the class list's columns.
std::string WriteMissingCsv(const DayList& list);

}  // namespace roster
