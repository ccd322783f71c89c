#include "app/main_desk.h"

#include "app/head_framing.h"
#include "app/main_controls.h"
#include "app/photo_directory.h"
#include "app/trainee_change.h"
#include "camera/camera_component.h"
#include "chrome/chrome.h"
#include "chrome/timed_message.h"
#include "photo/photo_save.h"
#include "platform/deployment.h"
#include "platform/files.h"
#include "platform/program_directory.h"
#include "platform/startup_trace.h"
#include "ui/modal.h"
#include "ui/window.h"

namespace app {

namespace mc = main_controls;

namespace {
using chrome::ShapeButtonKind;

// What the desk does after a component could not be loaded.
constexpr std::string_view kWithoutCamera = "\n这次 Orvia 将不用摄像头工作。";
constexpr std::string_view kNotOnList = "名单里没有这位学员";
constexpr std::string_view kWithoutReader = "\n这次 Orvia 将不用读卡器工作：请点击名字一栏，手工填写学员名字。";

chrome::ShapeButton Resolve(ui::Window& window, const mc::ShapeButtonIds& ids, ShapeButtonKind kind) {
    return {window.Get(ids.label), window.Get(ids.body), kind};
}

photo::PhotoControls PhotoControlsOf(ui::Window& window) {
    photo::PhotoControls controls{window.Get(mc::kPreviewFrame), {}};
    for (std::size_t i = 0; i < controls.slots.size(); ++i)
        controls.slots[i] = {window.Get(mc::kSlots[i].board), window.Get(mc::kSlots[i].brightnessGroup)};
    return controls;
}
}  // namespace

MainDesk::MainDesk(ui::Window& w)
    : window(w),
      camera({w.Get(mc::kPreviewBox), w.Get(mc::kCameraList), w.Get(mc::kZoomSlider)}),
      naming({w.Get(mc::kStudentLabel), w.Get(mc::kReadCardBody), w.Get(mc::kReadCardLabel), w.Get(mc::kPhotoBody),
              w.Get(mc::kPhotoLabel)},
             cardWatch, [this](const reader::IdentityChange& change) { return MayNameNextTrainee(photos, change); }),
      photoDirectory(platform::JoinPath(platform::ProgramDirectory(), photo::kPhotoDirectoryName)),
      photos(PhotoControlsOf(w), [this] { return naming.Identity(); }, photoDirectory),
      photoButton(Resolve(w, mc::kPhotoButton, ShapeButtonKind::Photo)),
      guide(
          w, w.Get(mc::kPreviewFrame).Handle(),
          [this] { return framing::LookContext{camera.PreviewBox(), camera.ZoomPosition()}; },
          [this](const framing::HeadFinding& finding) { FrameHead(camera, finding); }),
      trainees(platform::ProgramDirectory(), photoDirectory,
               [this](const std::string& identity) { naming.NameFromList(identity); }) {
    for (std::size_t i = 0; i < slotButtons.size(); ++i)
        slotButtons[i] = {Resolve(w, mc::kSlots[i].brighter, ShapeButtonKind::Brighter),
                          Resolve(w, mc::kSlots[i].darker, ShapeButtonKind::Darker)};
    photos.SetLivePictureWait([this](std::function<void(bool)> then) { livePicture.WhenLive(std::move(then)); });
}

MainDesk::~MainDesk() = default;

void MainDesk::TakeReaderOutcomes() {
    if (boxOpen_) return;  // announced again when the box closes
    for (const reader::CardOutcome& outcome : cardWatch.TakeOutcomes()) {
        naming.OnCardOutcome(outcome);
        NoteCardNotOnList(outcome);
    }
}

void MainDesk::NoteCardNotOnList(const reader::CardOutcome& outcome) {
    constexpr DWORD kNoteShownMs = 3000;
    if (outcome.removed) lastCardNumber_.clear();
    // A card lying there is read again now and then: it is noted once.
    if (!outcome.read || outcome.idNumber == lastCardNumber_) return;
    lastCardNumber_ = outcome.idNumber;
    if (!trainees.OnCardRead(outcome.idNumber))
        chrome::ShowTimedMessage(kNotOnList, MB_OK | MB_ICONINFORMATION, chrome::kTimedMessageTitle, window.Handle(),
                                 kNoteShownMs);
}

void MainDesk::Shown() {
    constexpr COLORREF kShadowColour = 0x808080;
    constexpr int kShadowSize = 5;
    // After the first paint, which needs neither: the drop shadow (its layered windows took
    // half the first paint's time), and the camera list, whose listing loads COM and the
    // platform's capture libraries. The message loop has not run yet, so nothing the
    // operator does can reach the window before both are there.
    chrome::SetWndShadow(window.Handle(), kShadowColour, kShadowSize);
    platform::MarkStartup("shadow");
    camera.FillCameraList();
    platform::MarkStartup("camera list");
    trainees.Load();  // the first card read and the list window need it
    if (std::string problem = camera::ComponentProblem(); !problem.empty())
        startupProblems_.insert(startupProblems_.begin(), problem + std::string(kWithoutCamera));
    for (const std::string& problem : startupProblems_)
        ui::ShowMessageBox(window.Handle(), problem, "Orvia", MB_OK | MB_ICONWARNING);
    startupProblems_.clear();
}

void MainDesk::Start() {
    constexpr int kStartupPreviewHeight = 800;

    RegisterDeskHotkeys(hotkeys, window.Handle(), camera, photos);
    // While a box is open the hotkeys are let go, so the keys reach the box, and the card
    // watch pauses; what it found meanwhile waits for the box to close.
    boxWatch_ = ui::ModalWatch(
        [this] {
            boxOpen_ = true;
            hotkeys.Release();
            cardWatch.Pause();
        },
        [this] {
            boxOpen_ = false;
            hotkeys.Retake();
            cardWatch.Resume();
        });
    platform::MarkStartup("hotkeys");
    platform::DeployComponent(camera::kVedioCapture);
    camera.PlacePreview(kStartupPreviewHeight);
    camera.OnRunningChanged([this](bool running) { guide.SetCameraRunning(running); });
    reader::ReaderComponent::DeployFiles();  // before any worker starts
    const int readerFound = cardWatch.ScanForReader();  // blocks while it tries the ports
    if (std::string problem = cardWatch.LoadProblem(); !problem.empty())
        startupProblems_.push_back(problem + std::string(kWithoutReader));
    naming.ChooseStartupButton(readerFound);
    platform::MarkStartup("reader scan");
    // The desk outlives the window (startup.cpp), and the window runs what was posted before
    // it closes, so the posted work always finds the desk.
    if (readerFound == 1) cardWatch.Start(window.MakePoster(), [this] { TakeReaderOutcomes(); }, /*watch=*/true);
    EnsurePhotoDirectoryIn(platform::ProgramDirectory());
    if (std::string problem = PhotoDirectoryProblem(platform::ProgramDirectory()); !problem.empty())
        startupProblems_.push_back(std::move(problem));
    window.SetMenuItemVisible(mc::kHelpMenu, false);  // the menu lives on as the settings pop-up
    const platform::ComponentFile shipped[] = {reader::kSdtapi, reader::kTermb, reader::kUnPack, camera::kVedioCapture};
    platform::HideComponentFiles(platform::ProgramDirectory(), shipped);
    platform::MarkStartup("watch, photo folder");
}

}  // namespace app
