// The four Photo slots: the slot images this subsystem owns, capture into them, selecting
// one, brightening or darkening one, and saving one under the Student identity. A drawing
// board only shows a copy of its slot's image.
#pragma once

#include "photo/slot_image.h"
#include "photo/unsaved_work.h"
#include "ui/control.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace photo {

inline constexpr int kSlotCount = 4;

struct SlotControls {
    ui::DrawingBoardHandle board;
    ui::Control brightnessGroup;  // its two buttons show while the slot has the focus
};

struct PhotoControls {
    ui::Control frame;  // the portrait frame whose pixels a capture copies
    std::array<SlotControls, kSlotCount> slots;
};

// The Student identity as it is now: the name a saved photo gets.
using IdentitySource = std::function<std::string()>;

// The preview frame as a slot image; empty when it could not be copied.
using FrameCopy = std::function<std::vector<std::uint8_t>()>;

// Calls `then` once the preview shows the live picture (true), at once when it does, or
// with false when it did not come in time; it waits through the message loop.
using LivePictureWait = std::function<void(std::function<void(bool live)> then)>;

class PhotoSlots {
public:
    // Photos are saved into `photoDirectory`. A capture copies the pixels of the controls'
    // frame, or takes `copyFrame`'s image when given one.
    PhotoSlots(PhotoControls controls, IdentitySource identity, std::wstring photoDirectory, FrameCopy copyFrame = {});

    // The slot the next capture fills, 1 to 4.
    int NextSlot() const { return next_; }
    // Slot `slot`'s image (1 to 4); empty until the first capture into it.
    const std::vector<std::uint8_t>& SlotImage(int slot) const;
    // How many slots hold unsaved work (unsaved_work.h) under the Student identity shown now.
    int UnsavedCount() const;
    bool HasUnsavedPhotos() const { return UnsavedCount() > 0; }
    // Whether any slot holds a photo.
    bool HoldsPhotos() const;

    // What a new trainee's naming leaves of the slots.
    enum class Keep {
        Everything,  // the first naming of a run: shots taken before it are that trainee's
        Nothing,     // the trainee before is done with: every slot is emptied
    };
    // A new trainee was named: empties slots as `keep` says, hides the brightness buttons and
    // points the counter at the first empty slot. Emptying slots that hold unsaved work is
    // the caller's to ask about first (UnsavedCount).
    void TraineeNamed(Keep keep);

    // Copies the preview frame into the next slot and advances the counter. A copy that
    // fails changes nothing: the slot keeps its picture and the counter stays.
    // True when the slot got the frame.
    bool Capture();
    // Capture as the operator asks for it, of the picture the operator sees: after a
    // restart of the camera it waits for the live picture (SetLivePictureWait). A copy that
    // fails, or a picture that does not come, is said in a box, so that the operator takes
    // the shot again rather than save the older picture still in the slot. A request while
    // one waits is the same shot.
    void CaptureForOperator();
    void SetLivePictureWait(LivePictureWait wait) { waitForLive_ = std::move(wait); }

    // Event handlers of the Main window; `slot` is 1 to 4. A press shows the slot's
    // brightness buttons even when the slot kept the focus while they were hidden.
    void OnSlotPressed(int slot);
    void OnSlotGotFocus(int slot);
    void OnSlotLostFocus();
    // Brightens or darkens the slot by one step.
    void Adjust(int slot, Direction direction);
    // Asks the operator, then writes the slot as <Student identity>.jpg (slot_save.cpp).
    bool Save(int slot);  // true when the photo was written

private:
    // Replaces slot `slot`'s image and shows it on its drawing board.
    void SetSlotImage(int slot, std::vector<std::uint8_t> image);

    PhotoControls controls_;
    IdentitySource identity_;
    std::wstring photoDirectory_;
    FrameCopy copyFrame_;
    LivePictureWait waitForLive_;
    bool captureWaiting_ = false;
    std::array<std::vector<std::uint8_t>, kSlotCount> images_;
    SavedWork saved_;  // what the disk holds of the slots' pictures
    int next_ = 1;
};

}  // namespace photo
