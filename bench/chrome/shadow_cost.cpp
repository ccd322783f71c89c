// Cost of the drop shadow following the Main window: milliseconds per owner move of a
// 1024 x 650 owner (a 1034 x 660 shadow), for a pure move (the picture goes along), a move
// that paints the picture anew, and a resize; beside them in the same run, a plain fill of
// a fresh surface of that size handed to a layered window the same way (the least any
// repaint costs), the same owner moving without a shadow, and the rings painted into
// memory alone. Medians over every single move. Run by bench/run-shadow; ctest does not.
// Usage: orvia_bench_shadow [--moves N] [--runs N]
#include "app/startup.h"
#include "bench/timing.h"
#include "chrome/chrome.h"
#include "chrome/shadow_paint.h"
#include "chrome/shadow_window.h"
#include "platform/dib.h"
#include "platform/owners.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kOwnerWidth = 1024;
constexpr int kOwnerHeight = 650;
constexpr int kSize = 5;
constexpr int kW = kOwnerWidth + 2 * kSize;
constexpr int kH = kOwnerHeight + 2 * kSize;

using platform::UniqueWindow;

UniqueWindow PlainWindow(DWORD exStyle, int width, int height) {
    return UniqueWindow(::CreateWindowExW(exStyle, L"STATIC", L"", WS_POPUP, 100, 100, width, height, nullptr, nullptr,
                                          nullptr, nullptr));
}

// Wine's X events for the moved windows, so the queue does not grow from run to run.
void Pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
}

// Times step(i) one by one, `moves` times per run; the median of every single time.
double MedianEach(int runs, int moves, const std::function<void(int)>& step) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        for (int i = 0; i < moves; ++i) {
            const double start = bench::NowMs();
            step(i);
            times.push_back(bench::NowMs() - start);
        }
        Pump();
    }
    return bench::Median(times);
}

void MoveTo(HWND window, int i, bool resize) {
    const int grow = resize ? i % 2 : 0;
    ::SetWindowPos(window, nullptr, 100 + i % 7, 100 + i % 5, kOwnerWidth + grow, kOwnerHeight + grow,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

// The least a repaint can do: a fresh surface of the same size, filled, handed over.
void FillAndShow(HWND layered, std::uint32_t pixel) {
    const platform::WindowDC windowDc(layered);
    const platform::UniqueDC memory(::CreateCompatibleDC(windowDc.get()));
    const platform::TopDownDib surface = platform::CreateTopDownDib(memory.get(), kW, kH);
    if (!surface.bits) return;
    const platform::Selection selected(memory.get(), surface.bitmap.get());
    std::fill_n(static_cast<std::uint32_t*>(surface.bits), static_cast<std::size_t>(kW) * kH, pixel);
    SIZE size{kW, kH};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::UpdateLayeredWindow(layered, windowDc.get(), nullptr, &size, memory.get(), &origin, 0, &blend, ULW_ALPHA);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    struct {
        int moves = 100;
        int runs = 5;
    } options;
    if (!bench::ParseCounts<wchar_t>(argc, argv, {{L"--moves", &options.moves}, {L"--runs", &options.runs}})) {
        std::fprintf(stderr, "usage: orvia_bench_shadow [--moves N] [--runs N]\n");
        return 2;
    }
    app::StartGdiplusOnce();

    UniqueWindow owner = PlainWindow(0, kOwnerWidth, kOwnerHeight);
    UniqueWindow bare = PlainWindow(0, kOwnerWidth, kOwnerHeight);
    UniqueWindow layered = PlainWindow(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE, kW, kH);
    if (!owner || !bare || !layered) {
        std::fprintf(stderr, "windows could not be created\n");
        return 1;
    }
    for (HWND w : {owner.get(), bare.get(), layered.get()}) ::ShowWindow(w, SW_SHOWNOACTIVATE);
    if (!chrome::SetWndShadow(owner.get(), 0x808080, kSize)) {
        std::fprintf(stderr, "the owner got no shadow\n");
        return 1;
    }
    Pump();
    HWND shadow = chrome::ShadowWindowOf(owner.get());

    const double move = MedianEach(options.runs, options.moves, [&](int i) { MoveTo(owner.get(), i, false); });
    const double repaintedMove = MedianEach(options.runs, options.moves, [&](int i) {
        MoveTo(owner.get(), i, false);
        chrome::RenderWndShadow(owner.get(), kW, kH);  // what every move cost before pictures went along
    });
    const double resize = MedianEach(options.runs, options.moves, [&](int i) { MoveTo(owner.get(), i, true); });
    MoveTo(owner.get(), 0, false);
    const double fill = MedianEach(options.runs, options.moves, [&](int i) {
        FillAndShow(layered.get(), i % 2 ? 0x40404040u : 0x20202020u);
    });
    const double bareMove = MedianEach(options.runs, options.moves, [&](int i) { MoveTo(bare.get(), i, false); });
    const double ringsOnly = MedianEach(options.runs, options.moves, [&](int) {
        const platform::UniqueDC memory(::CreateCompatibleDC(nullptr));
        const platform::TopDownDib surface = platform::CreateTopDownDib(memory.get(), kW, kH);
        const platform::Selection selected(memory.get(), surface.bitmap.get());
        chrome::PaintShadowRings(shadow, memory.get(), kW, kH);
    });

    std::printf("owner %dx%d, shadow %dx%d (size %d); %d moves per run, %d runs; medians in ms per move\n", kOwnerWidth,
                kOwnerHeight, kW, kH, kSize, options.moves, options.runs);
    std::printf("%10s %14s %10s %10s %14s %12s\n", "move", "move+repaint", "resize", "fill", "move, bare", "rings only");
    std::printf("%10.3f %14.3f %10.3f %10.3f %14.3f %12.3f\n", move, repaintedMove, resize, fill, bareMove, ringsOnly);
    std::printf("resize/fill %.2f\n", resize / fill);
    return 0;
}
