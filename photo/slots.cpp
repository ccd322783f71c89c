#include "photo/slots.h"

#include "photo/capture.h"
#include "ui/window.h"

#include <array>
#include <string_view>

namespace photo {

namespace {
constexpr std::string_view kFrame = "外形框3";
constexpr std::array<std::string_view, kSlotCount> kBoards{"画板1", "画板2", "画板3", "画板4"};
constexpr std::array<std::string_view, kSlotCount> kBrightnessGroups{"分组框_图1", "分组框_图2", "分组框_图3",
                                                                      "分组框_图4"};

struct Slots {
    std::array<std::vector<std::uint8_t>, kSlotCount> images;
    int next = 1;
    bool unsaved = false;
};

Slots& State() {
    static Slots slots;
    return slots;
}

bool IsSlot(int slot) { return slot >= 1 && slot <= kSlotCount; }
std::size_t Index(int slot) { return static_cast<std::size_t>(slot - 1); }

void HideBrightnessGroups(ui::Window& window) {
    for (const std::string_view group : kBrightnessGroups) window[group].SetVisible(false);
}
}  // namespace

int NextSlot() { return State().next; }
void ResetNextSlot() { State().next = 1; }

const std::vector<std::uint8_t>& SlotImage(int slot) {
    static const std::vector<std::uint8_t> none;
    return IsSlot(slot) ? State().images[Index(slot)] : none;
}

void SetSlotImage(ui::Window& window, int slot, std::vector<std::uint8_t> image) {
    if (!IsSlot(slot)) return;
    State().images[Index(slot)] = std::move(image);
    window[kBoards[Index(slot)]].SetPicture(State().images[Index(slot)]);  // the board gets a copy
}

bool HasUnsavedPhotos() { return State().unsaved; }
void MarkPhotosSaved() { State().unsaved = false; }

void Capture(ui::Window& window) {
    std::vector<std::uint8_t> image = CopyWindowPixels(window[kFrame].Handle());
    const int slot = State().next;
    SetSlotImage(window, slot, std::move(image));
    State().next = slot % kSlotCount + 1;
    State().unsaved = true;
}

void OnSlotPressed(ui::Window& window, int slot) {
    if (IsSlot(slot)) window[kBoards[Index(slot)]].Focus();
}

void OnSlotGotFocus(ui::Window& window, int slot) {
    if (!IsSlot(slot)) return;
    for (int k = 1; k <= kSlotCount; ++k) window[kBrightnessGroups[Index(k)]].SetVisible(k == slot);
}

void OnSlotLostFocus(ui::Window& window, int) { HideBrightnessGroups(window); }

void AdjustSlot(ui::Window& window, int slot, Direction direction) {
    if (!IsSlot(slot)) return;
    std::vector<std::uint8_t> adjusted = AdjustBrightness(SlotImage(slot), direction);
    if (adjusted.empty()) return;  // an empty slot stays empty
    SetSlotImage(window, slot, std::move(adjusted));
    State().unsaved = true;
}

}  // namespace photo
