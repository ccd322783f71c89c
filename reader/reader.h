// The ID-card reader: opening it at start-up, reading a card, naming the student.
#pragma once

#include <string>
#include <string_view>

namespace ui {
class Window;
}

namespace reader {

// The Student label: its caption is the Student identity, the name every photo is saved
// under, and its only copy.
inline constexpr std::string_view kStudentLabel = "透明标签_名字";
// The two big buttons, one of which stands in the same place: the Read-card button while a
// reader waits for the first card, the Photo button otherwise.
inline constexpr std::string_view kReadCardBody = "外形框_读身份证";
inline constexpr std::string_view kReadCardLabel = "透明标签_读身份证";
inline constexpr std::string_view kPhotoBody = "外形框_拍照";
inline constexpr std::string_view kPhotoLabel = "透明标签_拍照";

// Shown in the Student label when no reader answered at start-up.
inline constexpr std::string_view kReaderFailurePrompt = "身份证读卡器连接失败!请双击我填写名字";

// Writes any missing reader file beside the program, then tries ports 1 to 1200 in
// order; 1 when one opened, 0 when none did.
int InitialiseReader();

// With a reader the Read-card button stays; without one the Photo button stays and the
// Student label asks for the name by hand.
void ChooseStartupButton(ui::Window& window, int readerFound);

// The Student identity as the Student label shows it.
std::string StudentIdentity(ui::Window& window);

// Event handlers of the Main window.
void OnReadCard(ui::Window& window);
void OnNameLabelPressed(ui::Window& window);

}  // namespace reader
