#include "roster/day_list.h"

#include "roster/save_record.h"

namespace roster {

void DayList::SetTrainees(std::vector<Trainee> trainees) {
    trainees_ = std::move(trainees);
    index_ = TraineeIndex(trainees_);
    status_ = FindPhotos(trainees_, {});
}

void DayList::SetPhotos(std::span<const PhotoFile> files) { status_ = FindPhotos(trainees_, files); }

void DayList::PhotoSaved(const PhotoFile& file) {
    const PhotoStatus one = FindPhotos(trainees_, std::span(&file, 1));
    if (one.taken == 0) return;
    for (std::size_t i = 0; i < trainees_.size(); ++i) {
        if (!one.trainees[i].taken) continue;
        if (!status_.trainees[i].taken) ++status_.taken;
        status_.trainees[i] = one.trainees[i];
    }
}

std::string CountTitle(const PhotoStatus& status) {
    return "已拍 " + std::to_string(status.taken) + " / 共 " + std::to_string(status.total);
}

ShownRows RowsToShow(const DayList& list, bool onlyMissing) {
    ShownRows shown;
    const auto& trainees = list.Trainees();
    for (std::size_t i = 0; i < trainees.size(); ++i) {
        const TraineePhoto& photo = list.Status().trainees[i];
        if (onlyMissing && photo.taken) continue;
        std::string state(DescribePhoto(photo));
        // The seconds say nothing the operator needs: "2026-12-10 14:03".
        if (photo.taken) {
            const std::string time = FormatTime(photo.lastWrite);
            state.push_back(' ');
            state.append(time, 0, 16);
        }
        shown.cells.push_back({trainees[i].name, trainees[i].idNumber, trainees[i].className, std::move(state)});
        shown.positions.push_back(i);
    }
    return shown;
}

std::string WriteMissingCsv(const DayList& list) {
    std::vector<Trainee> missing;
    for (std::size_t i = 0; i < list.Trainees().size(); ++i)
        if (!list.Status().trainees[i].taken) missing.push_back(list.Trainees()[i]);
    return WriteClassListCsv(missing);
}

}  // namespace roster
