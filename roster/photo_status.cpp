#include "roster/photo_status.h"

#include "roster/id_number.h"

namespace roster {

namespace {

constexpr std::string_view kJpeg = ".jpg";

std::string FoldAscii(std::string_view text) {
    std::string folded(text);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

}  // namespace

std::string IdentityOf(const Trainee& trainee) {
    return trainee.idNumber.empty() ? trainee.name : trainee.name + "_" + trainee.idNumber;
}

std::string PhotoFileName(const Trainee& trainee) { return IdentityOf(trainee) + std::string(kJpeg); }

PhotoStatus FindPhotos(std::span<const Trainee> trainees, std::span<const PhotoFile> files) {
    PhotoStatus status;
    status.trainees.resize(trainees.size());
    status.total = trainees.size();
    std::unordered_map<std::string, std::size_t> byFileName;
    byFileName.reserve(trainees.size());
    for (std::size_t i = 0; i < trainees.size(); ++i) byFileName.emplace(FoldAscii(PhotoFileName(trainees[i])), i);
    for (const PhotoFile& file : files) {
        const auto found = byFileName.find(FoldAscii(file.name));
        if (found == byFileName.end()) continue;
        TraineePhoto& photo = status.trainees[found->second];
        if (!photo.taken) ++status.taken;
        if (!photo.taken || file.lastWrite > photo.lastWrite) {
            photo.lastWrite = file.lastWrite;
            photo.fileName = file.name;
        }
        photo.taken = true;
    }
    return status;
}

std::string_view DescribePhoto(const TraineePhoto& photo) { return photo.taken ? "已拍" : "未拍"; }

TraineeIndex::TraineeIndex(std::span<const Trainee> trainees) {
    positions_.reserve(trainees.size());
    for (std::size_t i = 0; i < trainees.size(); ++i) positions_.emplace(NormalizeIdNumber(trainees[i].idNumber), i);
}

std::optional<std::size_t> TraineeIndex::Find(std::string_view idNumber) const {
    const auto found = positions_.find(NormalizeIdNumber(idNumber));
    if (found == positions_.end()) return std::nullopt;
    return found->second;
}

}  // namespace roster
