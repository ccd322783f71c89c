// One randomised road through the trainee desk: cards laid, taken away and swapped (some while
// a box is open), shots, brightness presses, saves, questions answered either way and zoom
// changes, in a seeded random order. The demo camera shows the colour of the trainee before
// it (ORVIA_DEMO_MARKER), so every picture tells whose face it holds. The operator acts as a
// careful one would: after a card it waits for the label or a question before the next shot.
// What is checked is the invariant, not the steps: a file named for a card shows only that
// card's trainee; no saved photo is replaced without its older version in 已替换; no slot
// holding unsaved work is emptied without a Yes. ORVIA_ROAD_SEED picks the road: a number,
// "date" (one road a day) or "random"; the seed is printed, with the road, on a failure.
#include "tests/e2e/demo_camera.h"
#include "tests/e2e/orvia_session.h"
#include "tests/e2e/reader_emulator_client.h"

#include "app/main_controls.h"
#include "app/startup.h"
#include "platform/gdiplus.h"
#include "platform/win_text.h"
#include "roster/save_record.h"
#include "ui/pictures.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <map>
#include <functional>
#include <random>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace e2e {
namespace {

namespace mc = app::main_controls;

constexpr int kPort = 14;
constexpr int kEvents = 200;
constexpr int kMaxSteps = 2;  // brightness steps either way: the colour stays far from the others

struct Trainee {
    const char* card;
    const char* identity;
    const char* marker;  // the camera's colour while this trainee stands before it
};
// Red, green and blue: a picture is told by its strongest channel.
constexpr std::array<Trainee, 3> kTrainees{{{"zhangsan", "张三_110101199003071234", "#C83232"},
                                            {"lisi", "李四_440106199808081212", "#32C832"},
                                            {"wangyan", "王䶮_310104200105050017", "#3232C8"}}};
constexpr char kNobody[] = "#808080";
constexpr int kNone = -1;

// The trainee whose colour a pixel has, or kNone (grey, white, the empty slot's look).
int TraineeOf(int r, int g, int b) {
    const int channel[3] = {r, g, b};
    for (int t = 0; t < 3; ++t)
        if (channel[t] > channel[(t + 1) % 3] + 60 && channel[t] > channel[(t + 2) % 3] + 60) return t;
    return kNone;
}

// The trainee most of the sampled pixels show, when more than half do; else kNone.
template <typename PixelAt>
int MajorityOf(int width, int height, PixelAt pixelAt) {
    std::array<int, 4> votes{};
    int samples = 0;
    for (int y = height / 4; y < height * 3 / 4; y += 4)
        for (int x = width / 4; x < width * 3 / 4; x += 4, ++samples) ++votes[static_cast<std::size_t>(pixelAt(x, y) + 1)];
    for (int t = 0; t < 3; ++t)
        if (votes[static_cast<std::size_t>(t + 1)] * 2 > samples) return t;
    return kNone;
}

int TraineeOnScreen(const RECT& area) {
    const Screenshot shot = Screenshot::Capture(area);
    return MajorityOf(shot.Width(), shot.Height(), [&](int x, int y) {
        const COLORREF c = shot.Pixel(x, y);
        return TraineeOf(GetRValue(c), GetGValue(c), GetBValue(c));
    });
}

int TraineeInFile(const std::vector<std::uint8_t>& file) {
    app::StartGdiplusOnce();
    const auto bitmap = ui::DecodePicture(file);
    if (!bitmap) return kNone;
    return MajorityOf(static_cast<int>(bitmap->GetWidth()), static_cast<int>(bitmap->GetHeight()), [&](int x, int y) {
        Gdiplus::Color c;
        bitmap->GetPixel(x, y, &c);
        return TraineeOf(c.GetR(), c.GetG(), c.GetB());
    });
}

// What the operator knows a slot holds. The camera's picture is one colour, so two shots of
// one face at the same brightness are the same picture.
struct Slot {
    int face = kNone;  // kNone: empty
    int steps = 0;
    bool operator<(const Slot& other) const { return std::pair(face, steps) < std::pair(other.face, other.steps); }
};

std::uint32_t SeedFromEnvironment() {
    const std::wstring text = EnvironmentValue(L"ORVIA_ROAD_SEED").value_or(L"22");
    if (text == L"random") return std::random_device{}();
    if (text == L"date") {
        const std::time_t now = std::time(nullptr);
        return static_cast<std::uint32_t>(now / 86400);
    }
    return static_cast<std::uint32_t>(std::stoul(text));
}

class TraineeRoad : public OrviaSession {
protected:
    void SetUp() override {
        if (const std::string why = ReaderEmulator::Unavailable(); !why.empty()) GTEST_SKIP() << why;
        seed_ = SeedFromEnvironment();
        random_.seed(seed_);
        std::printf("road seed %u (ORVIA_ROAD_SEED=%u runs it again)\n", seed_, seed_);
    }
    void TearDown() override {
        if (HasFailure()) {
            std::printf("road seed %u; the road up to the failure:\n", seed_);
            for (const std::string& line : log_) std::printf("  %s\n", line.c_str());
            if (emulator_.Port() != 0) std::printf("emulator log:\n%s\n", emulator_.Log().c_str());
        }
        OrviaSession::TearDown();
    }

    int Chance(int below) { return static_cast<int>(random_() % static_cast<std::uint32_t>(below)); }
    void Note(const std::string& what) { log_.push_back(std::to_string(log_.size()) + " " + what); }
    void Fault(const std::string& what) { ADD_FAILURE() << "seed " << seed_ << ", event " << log_.size() << ": " << what; }
    std::wstring Photos() { return dir_ / L"学员照片"; }
    static std::wstring FileOf(int t) { return platform::Wide(kTrainees[static_cast<std::size_t>(t)].identity) + L".jpg"; }

    // The trainee the Student label names first (a waiting card may follow the name).
    int Named() {
        const std::string caption = MustQuery(mc::kStudentLabel.name)["caption"];
        for (int t = 0; t < 3; ++t)
            if (caption.rfind(kTrainees[static_cast<std::size_t>(t)].identity, 0) == 0) return t;
        return kNone;
    }
    HWND OpenBox() {
        const auto boxes = VisibleWindowsOf(orvia_.Id(), kDialogClass);
        return boxes.empty() ? nullptr : boxes.front();
    }
    bool Answer(HWND box, int button) {
        return PressDialogButton(box, button) && WaitUntil([&] { return !::IsWindowVisible(box); }, 3s);
    }

    // The trainee now before the camera, once the preview shows it.
    void StandBeforeCamera(int t) {
        const std::string marker = t == kNone ? kNobody : kTrainees[static_cast<std::size_t>(t)].marker;
        ASSERT_TRUE(WriteFileTheCameraReads(markerFile_, std::span(reinterpret_cast<const std::uint8_t*>(marker.data()), marker.size())))
            << "the camera held its marker file for a second";
        face_ = t;
        if (t != kNone && !WaitUntil([&] { return TraineeOnScreen(preview_) == t; }, 3s)) Fault("the preview never showed the new face");
    }

    // A question or message the program put up: answered as a careful operator would.
    void HandleBox(HWND box) {
        const std::wstring text = MessageBoxText(box);
        if (text.find(L"换下一位学员") != std::wstring::npos) {
            if (current_ == kNone || text.rfind(platform::Wide(kTrainees[static_cast<std::size_t>(current_)].identity), 0) != 0)
                Fault("the next-trainee question names another trainee: " + platform::Narrow(text));
            const bool yes = Chance(2) == 0;
            Note(std::string("next-trainee question, answered ") + (yes ? "Yes" : "No"));
            yesGiven_ = yesGiven_ || yes;
            if (!yes) keptWaiting_ = onReader_;
            if (!Answer(box, yes ? IDYES : IDNO)) Fault("the next-trainee question did not close");
        } else if (TextOf(box) == L"拍照失败" || text.find(L"请重新放好身份证") != std::wstring::npos) {
            Note("message answered: " + platform::Narrow(TextOf(box) + L" " + text));
            if (!Answer(box, IDOK)) Fault("the message did not close");
        } else {
            Fault("an unexpected box: " + platform::Narrow(text));
            if (!Answer(box, IDCANCEL)) Answer(box, IDOK);
        }
    }

    // Handles whatever box comes, and takes note of a new name, until `done` holds.
    bool Settle(const std::function<bool()>& done, Milliseconds timeout = 6s) {
        const bool held = WaitUntil(
            [&] {
                if (HWND box = OpenBox()) HandleBox(box);
                ObserveNaming();
                return HasFailure() || done();
            },
            timeout);
        ObserveNaming();
        return held;
    }

    // A new name on the label: the next trainee steps before the camera; slots holding
    // unsaved work may go only after a Yes.
    void ObserveNaming() {
        const int shown = Named();
        if (shown == current_ || HasFailure()) return;
        if (shown == kNone) return Fault("the label names no card");
        if (!laidSinceNaming_[static_cast<std::size_t>(shown)]) return Fault("named a card not laid since the last naming");
        int unsaved = 0;
        for (const Slot& slot : slots_) unsaved += Unsaved(slot);
        if (unsaved > 0 && !yesGiven_) return Fault("named the next trainee over " + std::to_string(unsaved) + " unsaved photos without a Yes");
        Note("named " + std::string(kTrainees[static_cast<std::size_t>(shown)].card));
        current_ = shown;
        yesGiven_ = false;
        keptWaiting_ = kNone;
        laidSinceNaming_ = {};
        slots_ = {};
        next_ = 0;
        StandBeforeCamera(shown);
    }
    // Unsaved: a picture never written to disk under the name shown now.
    bool Unsaved(const Slot& slot) const {
        const auto saved = savedPictures_.find(current_);
        return slot.face != kNone && (saved == savedPictures_.end() || !saved->second.contains(slot));
    }

    // Every slot shows what the operator put there, or the road stops with a fault.
    void CheckSlots() {
        for (std::size_t k = 0; k < slots_.size() && !HasFailure(); ++k) {
            int shown = kNone;
            // A slot just repainted may need a moment.
            WaitUntil([&] { return (shown = TraineeOnScreen(slotAreas_[k])) == slots_[k].face; }, 1s);
            if (shown != slots_[k].face)
                Fault("slot " + std::to_string(k + 1) + " shows trainee " + std::to_string(shown) + ", the operator put " +
                      std::to_string(slots_[k].face) + " there");
        }
    }

    // Every photo file shows its own trainee; every version replaced is kept whole in 已替换.
    void CheckFiles() {
        const std::wstring replacedDir = JoinPath(Photos(), L"已替换");
        std::vector<std::vector<std::uint8_t>> replaced;
        for (const std::wstring& name : DirectoryEntries(replacedDir)) {
            const auto bytes = platform::ReadWholeFile(JoinPath(replacedDir, name)).value_or(std::vector<std::uint8_t>{});
            for (int t = 0; t < 3; ++t)
                if (name.rfind(FileOf(t).substr(0, FileOf(t).size() - 4) + L"_", 0) == 0 && TraineeInFile(bytes) != t)
                    Fault("已替换\\" + platform::Narrow(name) + " shows another trainee");
            replaced.push_back(bytes);
        }
        for (int t = 0; t < 3; ++t) {
            const auto& versions = written_[t];
            const auto file = platform::ReadWholeFile(JoinPath(Photos(), FileOf(t)));
            if (versions.empty()) {
                if (file) Fault(platform::Narrow(FileOf(t)) + " was written with no save of it");
                continue;
            }
            if (!file || *file != versions.back()) Fault(platform::Narrow(FileOf(t)) + " is not the last photo saved under it");
            if (file && TraineeInFile(*file) != t) Fault(platform::Narrow(FileOf(t)) + " shows another trainee");
            for (std::size_t v = 0; v + 1 < versions.size(); ++v)
                if (std::find(replaced.begin(), replaced.end(), versions[v]) == replaced.end())
                    Fault("version " + std::to_string(v + 1) + " of " + platform::Narrow(FileOf(t)) + " is not kept in 已替换");
        }
        CheckRecord();
    }

    // The record of saves holds one row per save, under the trainee's file, name and number.
    void CheckRecord() {
        const auto bytes = platform::ReadWholeFile(JoinPath(Photos(), L"拍照记录.csv"));
        const roster::SaveRecord record =
            bytes ? roster::ReadSaveRecord(std::string(bytes->begin(), bytes->end())) : roster::SaveRecord{};
        for (int t = 0; t < 3; ++t) {
            const std::string file = platform::Narrow(FileOf(t));
            const roster::NameAndId who = roster::SplitIdentity(kTrainees[static_cast<std::size_t>(t)].identity);
            std::size_t rows = 0;
            for (const roster::SaveEntry& row : record.entries) {
                if (row.fileName != file) continue;
                ++rows;
                if (row.name != who.name || row.idNumber != who.idNumber) Fault("a row of " + file + " names " + row.name);
            }
            if (rows != saves_[static_cast<std::size_t>(t)])
                Fault("the record holds " + std::to_string(rows) + " rows of " + file + " for " +
                      std::to_string(saves_[static_cast<std::size_t>(t)]) + " saves");
        }
    }

    // ---- the operator's actions ----

    void LayCard(int t, bool fast) {
        const std::string card = kTrainees[static_cast<std::size_t>(t)].card;
        Note((fast ? "card swapped at once for " : "card laid: ") + card);
        if (fast && t == onReader_) return;  // the same card left lying: nothing changes
        keptWaiting_ = kNone;
        if (onReader_ != kNone && !fast && !emulator_.TakeCardAway()) return Fault("the watch never saw the reader empty");
        ASSERT_TRUE(emulator_.SetCard(card));
        onReader_ = t;
        laidSinceNaming_[static_cast<std::size_t>(t)] = true;
    }
    // While a box is open the watch makes no looks: nothing to wait for then.
    void TakeCardAway(bool waitForALook = true) {
        Note("card taken away");
        if (waitForALook ? !emulator_.TakeCardAway() : !emulator_.SetCard("none")) Fault("the card did not come off");
        onReader_ = kNone;
        keptWaiting_ = kNone;
    }
    // After a card: the label shows it, or a question was answered No.
    void WaitForTheCard() {
        const int asked = static_cast<int>(log_.size());
        const bool seen = Settle([&] {
            if (onReader_ == kNone || current_ == onReader_ || onReader_ == keptWaiting_) return true;
            for (std::size_t e = static_cast<std::size_t>(asked); e < log_.size(); ++e)
                if (log_[e].find("answered No") != std::string::npos) return true;
            return false;
        }, 8s);
        if (!seen && !HasFailure()) Fault("the card laid was neither named nor asked about");
    }

    void Capture() {
        const auto k = static_cast<std::size_t>(next_);
        const Slot before = slots_[k];
        const Screenshot old = Screenshot::Capture(slotAreas_[k]);
        const bool enter = Chance(2) == 0;
        Note(std::string("shot into slot ") + std::to_string(k + 1) + (enter ? " (Enter)" : " (Photo button)"));
        if (enter)
            PressKey(VK_RETURN);
        else
            ClickAt(photoButton_);
        // The same face at the same brightness looks the same: such a retake is not told apart
        // from the picture it replaces.
        const bool alike = before.face == face_ && before.steps == 0;
        bool failed = false;
        const bool changed = Settle([&] {
            failed = failed || (!log_.empty() && log_.back().find("拍照失败") != std::string::npos);
            return failed || !Screenshot::Capture(slotAreas_[k]).SamePixels(old);
        }, alike ? 500ms : 2500ms);
        if (failed || HasFailure()) return;
        if (!changed && !alike) return Fault("the shot did not reach slot " + std::to_string(k + 1));
        slots_[k] = {face_, 0};
        next_ = (next_ + 1) % 4;
    }

    void Brighten(std::size_t k) {
        ClickAt(CentreOf(MustQuery(mc::kSlots[k].board.name)));
        if (!WaitUntil([&] { return MustQuery(mc::kSlots[k].brightnessGroup.name)["shown"] == "1"; }, 2s))
            return Fault("no brightness buttons on a press of slot " + std::to_string(k + 1));
        const int step = slots_[k].steps >= kMaxSteps ? -1 : slots_[k].steps <= -kMaxSteps ? 1 : Chance(2) ? 1 : -1;
        Note("slot " + std::to_string(k + 1) + (step > 0 ? " brighter" : " darker"));
        const Screenshot old = Screenshot::Capture(slotAreas_[k]);
        ClickAt(CentreOf(MustQuery(step > 0 ? mc::kSlots[k].brighter.label.name : mc::kSlots[k].darker.label.name)));
        if (!WaitUntil([&] { return !Screenshot::Capture(slotAreas_[k]).SamePixels(old); }, 2s))
            return Fault("slot " + std::to_string(k + 1) + " did not change");
        slots_[k].steps += step;
    }

    void Save(std::size_t k) {
        Note("save slot " + std::to_string(k + 1));
        DoubleClickAt(CentreOf(MustQuery(mc::kSlots[k].board.name)));
        HWND question = WaitForBoxSaying(orvia_.Id(), L"要保存");
        if (!question) return Fault("no save question");
        const std::string identity = kTrainees[static_cast<std::size_t>(current_)].identity;
        if (MessageBoxText(question) != L"要保存" + platform::Wide(identity) + L"的图片吗？")
            return Fault("the save question names another: " + platform::Narrow(MessageBoxText(question)));
        // Sometimes the next trainee comes while the question is open.
        const int swap = Chance(4);
        if (swap == 0) TakeCardAway(false);
        if (swap == 1) LayCard((current_ + 1 + Chance(2)) % 3, true);  // no look to wait for
        const bool ok = Chance(6) != 0;
        Note(ok ? "save answered OK" : "save answered Cancel");
        if (!Answer(question, ok ? IDOK : IDCANCEL)) return Fault("the save question did not close");
        if (ok) {
            const std::wstring path = JoinPath(Photos(), FileOf(current_));
            // The save runs before the window handles anything else: once it answers, it is done.
            DWORD_PTR ignored = 0;
            ::SendMessageTimeoutW(orvia_.MainWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
            const std::vector<std::uint8_t> file = platform::ReadWholeFile(path).value_or(std::vector<std::uint8_t>{});
            if (file.empty()) return Fault("the save wrote nothing");
            auto& versions = written_[current_];
            if (versions.empty() || file != versions.back()) versions.push_back(file);
            ++saves_[static_cast<std::size_t>(current_)];
            savedPictures_[current_].insert(slots_[k]);
            CheckFiles();
        }
        if (swap == 1) WaitForTheCard();
        // A card kept waiting names the next trainee once a photo is saved: the operator
        // sees the label change, or the question, before going on.
        if (ok && onReader_ != kNone && onReader_ != current_) Settle([&] { return current_ == onReader_; }, 1500ms);
    }

    void ChangeZoom() {
        // A click pages the slider towards it. Only the upper half: at the smallest boxes the
        // picture no longer fills the portrait frame, and a photo would hold mostly background.
        const double fraction = 0.6 + 0.15 * Chance(3);
        Note("zoom at " + std::to_string(fraction));
        const Report slider = MustQuery(mc::kZoomSlider.name);
        ClickAt(static_cast<int>(ReportNumber(slider, "screen_x") + static_cast<long long>(ReportNumber(slider, "w") * fraction)),
                static_cast<int>(ReportNumber(slider, "screen_y") + 10));
    }

    int FilledSlot() {
        std::vector<std::size_t> filled;
        for (std::size_t k = 0; k < slots_.size(); ++k)
            if (slots_[k].face != kNone) filled.push_back(k);
        return filled.empty() ? kNone : static_cast<int>(filled[static_cast<std::size_t>(Chance(static_cast<int>(filled.size())))]);
    }

    // One event of the road, chosen at random among those a careful operator would make now.
    void Step() {
        const int roll = Chance(100);
        const int filled = FilledSlot();
        if (roll < 22 || current_ == kNone) {
            const int t = Chance(3);
            if (onReader_ != kNone && Chance(4) == 0) {
                TakeCardAway();
                return;
            }
            LayCard(t, onReader_ != kNone && Chance(5) == 0);
            WaitForTheCard();
        } else if (roll < 55) {
            Capture();
        } else if (roll < 70 && filled != kNone) {
            Brighten(static_cast<std::size_t>(filled));
        } else if (roll < 90 && filled != kNone) {
            Save(static_cast<std::size_t>(filled));
        } else if (roll < 96) {
            ChangeZoom();
        } else {
            Note("a look without an action");
            Pause(300ms);
        }
        if (!HasFailure()) Settle([] { return true; }, 100ms);
        if (!HasFailure()) CheckSlots();
    }

    std::uint32_t seed_ = 0;
    std::mt19937 random_;
    std::vector<std::string> log_;
    std::wstring markerFile_;
    RECT preview_{};
    std::array<RECT, 4> slotAreas_{};
    POINT photoButton_{};
    int face_ = kNone;
    int current_ = kNone;
    int onReader_ = kNone;
    bool yesGiven_ = false;
    int keptWaiting_ = kNone;  // a card answered No that has lain there since
    std::array<bool, 3> laidSinceNaming_{};
    std::array<Slot, 4> slots_{};
    int next_ = 0;  // the slot the next shot goes to, from 0
    std::map<int, std::vector<std::vector<std::uint8_t>>> written_;  // every version saved, per trainee
    std::array<std::size_t, 3> saves_{};  // OK answers to a save question, per trainee
    std::map<int, std::set<Slot>> savedPictures_;  // every picture saved, per trainee  // every version saved, per trainee
    ReaderEmulator emulator_;  // goes before the program
};

TEST_F(TraineeRoad, EveryPhotoIsSavedUnderItsTraineeAndNothingUnsavedGoesWithoutAYes) {
    ASSERT_TRUE(emulator_.Start(kPort, "none")) << emulator_.Error();
    markerFile_ = dir_ / L"marker.txt";
    ASSERT_TRUE(platform::WriteWholeFile(markerFile_, std::span(reinterpret_cast<const std::uint8_t*>(kNobody), 7)));
    auto environment = DemoCameraEnvironment();
    environment.emplace_back(L"ORVIA_DEMO_MARKER", markerFile_);
    ASSERT_NO_FATAL_FAILURE(StartOrvia(environment));
    ASSERT_TRUE(StartDemoCamera(orvia_.MainWindow())) << "the camera shows no picture";
    preview_ = FrameOnScreen(orvia_.MainWindow());
    for (std::size_t k = 0; k < slotAreas_.size(); ++k) slotAreas_[k] = OnScreen(MustQuery(mc::kSlots[k].board.name));
    photoButton_ = CentreOf(MustQuery(mc::kPhotoLabel.name));

    const auto started = std::chrono::steady_clock::now();
    for (int event = 0; event < kEvents && !HasFailure(); ++event) Step();
    if (!HasFailure()) CheckFiles();
    std::printf("road seed %u: %d events in %lld s\n", seed_, kEvents,
                static_cast<long long>(std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started).count()));
}

}  // namespace
}  // namespace e2e
