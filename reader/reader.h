// Naming the trainee: the Student identity, read from ID cards or typed by hand, and the
// choice between the Read-card and the Photo button. The Student label's caption is the
// Student identity, the name every photo is saved under; this is the one place that reads
// and writes it.
#pragma once

#include "reader/reader_component.h"
#include "ui/control.h"

#include <string>
#include <string_view>

namespace reader {

// Shown in the Student label when no reader answered at start-up.
inline constexpr std::string_view kReaderFailurePrompt = "身份证读卡器连接失败!请双击我填写名字";

struct NamingControls {
    ui::Control studentLabel;
    ui::Control readCardBody, readCardLabel;  // the Read-card button
    ui::Control photoBody, photoLabel;        // the Photo button, in the same place
};

class StudentNaming {
public:
    StudentNaming(NamingControls controls, ReaderComponent& reader) : controls_(controls), reader_(reader) {}

    // With a reader the Read-card button stays; without one the Photo button stays and the
    // Student label asks for the name by hand.
    void ChooseStartupButton(int readerFound);

    // The Student identity as the Student label shows it.
    std::string Identity() const { return controls_.studentLabel.Caption(); }

    // Event handlers of the Main window.
    void OnReadCard();
    void OnNameLabelPressed();

private:
    void ShowPhotoButton();
    void NameByHand(std::string_view initial, bool firstTime);
    HWND Owner() const;  // of the boxes the naming opens: the Main window

    NamingControls controls_;
    ReaderComponent& reader_;
    // How this desk names its trainees, settled at start-up. A desk names one trainee after
    // another in one run, so the Student label stays the place to name the next one.
    bool readerFound_ = false;  // the Read-card button was shown at start-up
    bool cardRead_ = false;     // a card has been read since
    bool namedByHand_ = false;  // the input box has been answered (or cancelled) once
};

}  // namespace reader
