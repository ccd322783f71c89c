// The Main window's desk: the subsystems the window works with, made when the window is
// created, each with the controls it uses resolved once. The event map reaches them here.
#pragma once

#include "app/hotkeys.h"
#include "app/live_picture_wait.h"
#include "app/trainee_list.h"
#include "camera/camera_panel.h"
#include "chrome/press_feedback.h"
#include "framing/framing_guide.h"
#include "photo/slots.h"
#include "reader/card_watcher.h"
#include "reader/reader.h"
#include "ui/modal.h"

#include <array>
#include <string>
#include <vector>

namespace ui {
class Window;
}

namespace app {

class MainDesk {
public:
    explicit MainDesk(ui::Window& window);
    ~MainDesk();
    MainDesk(const MainDesk&) = delete;
    MainDesk& operator=(const MainDesk&) = delete;

    // The start-up sequence before the first paint: hotkeys, components, preview, reader,
    // button choice, photo directory, menu bar, hidden component files.
    void Start();
    // Once the window shows and has been painted: the shadow, the camera list, the class
    // list, then what start-up found wrong, told to the operator.
    void Shown();

    struct SlotButtons {
        chrome::ShapeButton brighter, darker;
    };

    ui::Window& window;
    camera::CameraPanel camera;
    reader::CardWatcher cardWatch;  // owns the reader: every call into it
    reader::StudentNaming naming;
    std::wstring photoDirectory;  // 学员照片 beside the program
    photo::PhotoSlots photos;
    LivePictureWait livePicture{window, camera};  // what a capture waits for after a restart
    chrome::ShapeButton photoButton;
    std::array<SlotButtons, photo::kSlotCount> slotButtons;
    HotkeyTable hotkeys;
    framing::FramingGuide guide;  // the guide over the preview, its live check and the F key
    TraineeList trainees;         // the day's class list and its window

private:
    // Hands the reader's outcomes to the naming, unless a box is open: then they wait for it.
    void TakeReaderOutcomes();
    // A card read whose number is not on the class list says so; the desk goes on as usual.
    void NoteCardNotOnList(const reader::CardOutcome& outcome);

    std::vector<std::string> startupProblems_;
    std::string lastCardNumber_;  // of the card lying on the reader, noted once
    bool boxOpen_ = false;
    ui::ModalWatch boxWatch_;  // ends with the desk
};

}  // namespace app
