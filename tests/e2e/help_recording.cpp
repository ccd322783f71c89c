#include "tests/e2e/demo_camera.h"
#include "tests/e2e/gif_writer.h"
#include "tests/e2e/help_pictures.h"

#include "app/main_controls.h"
#include "platform/files.h"

#include <cstdio>
#include <iterator>
#include <vector>

namespace mc = app::main_controls;

namespace e2e {

namespace {

// Half the window's size keeps the animations small; the page scales them to its width.
constexpr int kScale = 2;

// The classic arrow pointer, drawn into the frames since screen copies leave it out:
// '#' outline, '.' fill.
constexpr const char* kPointer[] = {
    "#", "##", "#.#", "#..#", "#...#", "#....#", "#.....#", "#......#", "#.......#", "#........#",
    "#.....#####", "#..#..#", "#.# #..#", "##  #..#", "#    #..#", "      #..#", "       ##",
};

class Recorder {
public:
    explicit Recorder(HWND main) : main_(main) {}

    POINT Control(const char* name) const { return CentreOf(QueryWindowControl(main_, name)); }
    void MoveTo(POINT at) {
        MoveMouseTo(at);
        pointer_ = at;
        Pause(80ms);
    }
    void Click(POINT at) {
        MoveTo(at);
        ClickAt(at);
    }
    POINT Pointer() const { return pointer_; }
    // One frame of the window as it is now, shown for `delay` centiseconds.
    void Shot(int delay) {
        RECT r{};
        ::GetWindowRect(main_, &r);
        const Screenshot screen = Screenshot::Capture(r);
        GifFrame frame;
        frame.width = screen.Width() / kScale;
        frame.height = screen.Height() / kScale;
        frame.delayCentiseconds = delay;
        frame.pixels.resize(static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height));
        for (int y = 0; y < frame.height; ++y) {
            for (int x = 0; x < frame.width; ++x) {
                unsigned sum[3] = {};
                for (int dy = 0; dy < kScale; ++dy) {
                    for (int dx = 0; dx < kScale; ++dx) {
                        const COLORREF c = screen.Pixel(x * kScale + dx, y * kScale + dy);
                        sum[0] += GetRValue(c), sum[1] += GetGValue(c), sum[2] += GetBValue(c);
                    }
                }
                constexpr unsigned n = kScale * kScale;
                frame.pixels[static_cast<std::size_t>(y * frame.width + x)] = (sum[0] / n) << 16 | (sum[1] / n) << 8 | sum[2] / n;
            }
        }
        DrawPointer(frame, (pointer_.x - r.left) / kScale, (pointer_.y - r.top) / kScale);
        frames_.push_back(std::move(frame));
    }
    // `count` frames `every` apart while something moves on its own (the camera).
    void Watch(int count, Milliseconds every) {
        for (int i = 0; i < count; ++i) {
            Pause(every);
            Shot(static_cast<int>(every.count() / 10));
        }
    }
    bool Save(const std::wstring& path) {
        const auto bytes = EncodeAnimatedGif(frames_);
        frames_.clear();
        return !bytes.empty() && platform::WriteWholeFile(path, bytes);
    }

private:
    static void DrawPointer(GifFrame& frame, int left, int top) {
        for (int row = 0; row < static_cast<int>(std::size(kPointer)); ++row) {
            for (int col = 0; kPointer[row][col]; ++col) {
                const char c = kPointer[row][col];
                const int x = left + col, y = top + row;
                if ((c != '#' && c != '.') || x < 0 || y < 0 || x >= frame.width || y >= frame.height) continue;
                frame.pixels[static_cast<std::size_t>(y * frame.width + x)] = c == '#' ? 0x000000u : 0xFFFFFFu;
            }
        }
    }

    HWND main_;
    POINT pointer_{};
    std::vector<GifFrame> frames_;
};

bool Fail(const char* why) {
    std::fprintf(stderr, "orvia_screenshot: %s\n", why);
    return false;
}
}  // namespace

bool RecordHelpPictures(HWND main, const std::wstring& directory) {
    Recorder r(main);
    RECT window{};
    ::GetWindowRect(main, &window);
    r.MoveTo({window.left + 700, window.top + 250});

    // 1. The camera: a double-click on it in the list.
    r.Shot(120);
    const POINT entry = DemoCameraEntry(main);
    r.MoveTo(entry);
    r.Shot(80);
    if (!StartDemoCamera(main)) return Fail("the demonstration camera did not start");
    r.Watch(8, 150ms);
    r.Shot(150);
    if (!r.Save(JoinPath(directory, L"camera.gif"))) return Fail("camera.gif could not be written");

    // 2. Zoom with the slider, pan by dragging the picture.
    const Report slider = QueryWindowControl(main, mc::kZoomSlider.name);
    const RECT track = OnScreen(slider);
    const int middle = (track.top + track.bottom) / 2 - 6;
    r.MoveTo({track.left + 12, middle});
    r.Shot(60);
    for (const int towards : {track.right - 12, track.left + 12}) {
        r.Click({towards, middle});  // a page of five steps
        r.Watch(3, 150ms);
    }
    // There and back again, so the picture ends where it started.
    const POINT picture = CentreOf(QueryWindowControl(main, mc::kPreviewFrame.name));
    r.MoveTo(picture);
    r.Shot(60);
    for (const int direction : {1, -1}) {
        const POINT from = r.Pointer();
        LeftDown();
        for (int step = 1; step <= 5; ++step) {
            r.MoveTo({from.x + direction * step * 8, from.y + direction * step * 4});
            r.Shot(15);
        }
        LeftUp();
        r.Shot(40);
    }
    r.Watch(3, 150ms);
    if (!r.Save(JoinPath(directory, L"zoom_pan.gif"))) return Fail("zoom_pan.gif could not be written");

    // 3. Photos: the Photo button fills the slots in turn.
    const POINT photo = r.Control("透明标签_拍照");
    r.MoveTo(photo);
    r.Shot(80);
    for (int shot = 0; shot < 3; ++shot) {
        r.Click(photo);
        r.Watch(3, 150ms);
    }
    r.Shot(150);
    if (!r.Save(JoinPath(directory, L"capture.gif"))) return Fail("capture.gif could not be written");

    // 4. Brighten the second photo, then save it with a double-click and OK.
    const POINT slot = r.Control("画板2");
    r.Click(slot);
    r.Watch(2, 200ms);
    const POINT brighter = r.Control("透明标签_增加亮度2");
    r.MoveTo(brighter);
    r.Shot(60);
    for (int press = 0; press < 3; ++press) {
        r.Click(brighter);
        r.Watch(2, 200ms);
    }
    r.MoveTo(slot);
    r.Shot(60);
    DoubleClickAt(slot);
    DWORD process = 0;
    ::GetWindowThreadProcessId(main, &process);
    const HWND question = WaitForWindowOf(process, kDialogClass, 5s);
    if (!question) return Fail("no question before saving");
    Pause(300ms);
    RECT box{};
    ::GetWindowRect(question, &box);
    r.MoveTo({(box.left + box.right) / 2, box.bottom - 20});
    r.Shot(200);
    PressDialogButton(question, IDOK);
    r.Watch(2, 300ms);
    r.Shot(200);
    if (!r.Save(JoinPath(directory, L"brighten_save.gif"))) return Fail("brighten_save.gif could not be written");

    // 5. The whole window at work.
    MoveMouseTo({window.right + 20, window.bottom + 20});
    Pause(300ms);
    if (!Screenshot::OfWindow(main).SavePng(JoinPath(directory, L"window.png")))
        return Fail("window.png could not be written");
    return true;
}

}  // namespace e2e
