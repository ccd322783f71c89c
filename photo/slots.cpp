#include "photo/slots.h"

#include "photo/capture.h"
#include "ui/modal.h"

#include <utility>

namespace photo {

namespace {
bool IsSlot(int slot) { return slot >= 1 && slot <= kSlotCount; }
std::size_t Index(int slot) { return static_cast<std::size_t>(slot - 1); }
}  // namespace

PhotoSlots::PhotoSlots(PhotoControls controls, IdentitySource identity, std::wstring photoDirectory,
                       FrameCopy copyFrame)
    : controls_(std::move(controls)), identity_(std::move(identity)), photoDirectory_(std::move(photoDirectory)),
      copyFrame_(std::move(copyFrame)) {
    if (!copyFrame_) copyFrame_ = [frame = controls_.frame] { return CopyWindowPixels(frame.Handle()); };
}

const std::vector<std::uint8_t>& PhotoSlots::SlotImage(int slot) const {
    static const std::vector<std::uint8_t> none;
    return IsSlot(slot) ? images_[Index(slot)] : none;
}

void PhotoSlots::SetSlotImage(int slot, std::vector<std::uint8_t> image) {
    if (!IsSlot(slot)) return;
    images_[Index(slot)] = std::move(image);
    controls_.slots[Index(slot)].board.SetPicture(images_[Index(slot)]);  // the board gets a copy
}

bool PhotoSlots::HoldsPhotos() const {
    for (const auto& image : images_)
        if (!image.empty()) return true;
    return false;
}

int PhotoSlots::UnsavedCount() const { return saved_.CountUnsaved(images_, identity_()); }

void PhotoSlots::TraineeNamed(Keep keep) {
    if (keep == Keep::Everything) return;
    for (int slot = 1; slot <= kSlotCount; ++slot) SetSlotImage(slot, {});
    OnSlotLostFocus();
    next_ = 1;
}

bool PhotoSlots::Capture() {
    std::vector<std::uint8_t> image = copyFrame_();
    if (image.empty()) return false;  // an empty slot is no photo: keep the one it has
    const int slot = next_;
    SetSlotImage(slot, std::move(image));
    next_ = slot % kSlotCount + 1;
    return true;
}

void PhotoSlots::CaptureForOperator() {
    const auto captureOrSay = [this](bool live) {
        captureWaiting_ = false;
        if (!live) {
            ui::ShowMessageBox(nullptr, "摄像头正在换大小，画面还没有出来，没有拍照。请等画面出来后再拍一次。", "拍照失败",
                               MB_OK | MB_ICONWARNING | MB_TASKMODAL);
            return;
        }
        if (Capture()) return;
        ui::ShowMessageBox(nullptr, "没有拍到照片，请再拍一次。", "拍照失败", MB_OK | MB_ICONWARNING | MB_TASKMODAL);
    };
    if (!waitForLive_) return captureOrSay(true);
    if (captureWaiting_) return;
    captureWaiting_ = true;
    waitForLive_(captureOrSay);
}

void PhotoSlots::OnSlotPressed(int slot) {
    if (!IsSlot(slot)) return;
    controls_.slots[Index(slot)].board.Focus();
    // A slot that kept the focus through a trainee change gets no focus event.
    OnSlotGotFocus(slot);
}

void PhotoSlots::OnSlotGotFocus(int slot) {
    if (!IsSlot(slot)) return;
    for (int k = 1; k <= kSlotCount; ++k) controls_.slots[Index(k)].brightnessGroup.SetVisible(k == slot);
}

void PhotoSlots::OnSlotLostFocus() {
    for (SlotControls& s : controls_.slots) s.brightnessGroup.SetVisible(false);
}

void PhotoSlots::Adjust(int slot, Direction direction) {
    if (!IsSlot(slot)) return;
    std::vector<std::uint8_t> adjusted = AdjustBrightness(SlotImage(slot), direction);
    if (adjusted.empty()) return;  // an empty slot stays empty
    SetSlotImage(slot, std::move(adjusted));
}

}  // namespace photo
