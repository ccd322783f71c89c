// The day's list on the desk: the class list kept beside the program (学员名单.csv), which of
// its trainees have a photo, and the list window while it is open. It is read once the Main
// window has painted, or sooner when first needed. The window shows what this owner gives
// it; closing it loses nothing.
#pragma once

#include "roster/day_list.h"
#include "ui/window.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace app {

class TraineeList {
public:
    // `nameTrainee` names the trainee a row stands for, the way a name typed by hand does.
    TraineeList(std::wstring programDirectory, std::wstring photoDirectory,
                std::function<void(const std::string& identity)> nameTrainee);
    ~TraineeList();
    TraineeList(const TraineeList&) = delete;
    TraineeList& operator=(const TraineeList&) = delete;

    // Reads the kept list and lists the photo folder, once; what needs the list reads it
    // first if this has not run yet.
    void Load();

    // The settings menu's items: a new class list from the school's file, and the window.
    void Import(HWND owner);
    void OpenWindow(ui::Window& owner);

    // A photo of `identity` has been saved: its trainee shows 已拍 at once.
    void OnPhotoSaved(std::string_view identity);
    // A card has been read: its trainee is marked in the window. False when a list is kept
    // and the number is not on it.
    bool OnCardRead(std::string_view idNumber);

    // For the window.
    void OnWindowCreated(ui::Window& window);
    void OnRowChosen(int shownRow);
    void OnOnlyMissingToggled();
    void OnActivated();  // the operator came back to the window: the folder may have changed
    void ExportMissing();
    void PackPhotos();

private:
    void ListFolder();
    // Lists the folder unless it was listed a moment ago; true when it did.
    bool ListFolderUnlessFresh();
    // The window shows the list as it is now; the marked trainee stays selected.
    void ShowInWindow();
    ui::Window* Window() const;

    const std::wstring programDirectory_;
    const std::wstring photoDirectory_;
    std::function<void(const std::string&)> nameTrainee_;
    roster::DayList list_;
    bool loaded_ = false;
    unsigned long long listedAt_ = 0;  // the tick of the folder's last listing
    bool onlyMissing_ = false;
    std::vector<std::size_t> shownPositions_;  // the list position of each row shown
    std::optional<std::size_t> marked_;        // the trainee the last card named
    ui::Window* window_ = nullptr;
    std::weak_ptr<const void> windowLifetime_;
};

}  // namespace app
