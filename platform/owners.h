// Move-only owners for Win32 handles, with the get/reset/release vocabulary of
// std::unique_ptr. Every handle the program acquires lives in one of these.
#pragma once

#include <windows.h>

#include <utility>

namespace platform {

template <typename Traits>
class Unique {
public:
    using Handle = typename Traits::Handle;

    Unique() noexcept = default;
    explicit Unique(Handle h) noexcept : handle_(h) {}
    Unique(Unique&& other) noexcept : handle_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    ~Unique() { reset(); }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }
    Handle release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
    void reset(Handle h = Traits::Invalid()) noexcept {
        const Handle old = std::exchange(handle_, h);
        if (old != Traits::Invalid()) Traits::Close(old);
    }

private:
    Handle handle_ = Traits::Invalid();
};

template <typename H, auto CloseFn>
struct NullTraits {
    using Handle = H;
    static constexpr Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { CloseFn(h); }
};

struct FileTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};

struct FindTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::FindClose(h); }
};

inline void DeleteGdiObject(HGDIOBJ h) noexcept { ::DeleteObject(h); }

using UniqueFile = Unique<FileTraits>;
using UniqueFind = Unique<FindTraits>;  // a directory search
using UniqueHandle = Unique<NullTraits<HANDLE, ::CloseHandle>>;
using UniqueModule = Unique<NullTraits<HMODULE, ::FreeLibrary>>;
using UniqueMenu = Unique<NullTraits<HMENU, ::DestroyMenu>>;
using UniqueDC = Unique<NullTraits<HDC, ::DeleteDC>>;  // memory device contexts
using UniqueFont = Unique<NullTraits<HFONT, DeleteGdiObject>>;
using UniqueBrush = Unique<NullTraits<HBRUSH, DeleteGdiObject>>;
using UniquePen = Unique<NullTraits<HPEN, DeleteGdiObject>>;
using UniqueBitmap = Unique<NullTraits<HBITMAP, DeleteGdiObject>>;
using UniqueRegion = Unique<NullTraits<HRGN, DeleteGdiObject>>;
using UniqueWindow = Unique<NullTraits<HWND, ::DestroyWindow>>;  // until someone else owns it
using UniqueWinEventHook = Unique<NullTraits<HWINEVENTHOOK, ::UnhookWinEvent>>;
using UniqueHook = Unique<NullTraits<HHOOK, ::UnhookWindowsHookEx>>;

// A window's device context, released with ReleaseDC: of its client area (GetDC), or of the
// whole window, frame included (GetWindowDC).
class WindowDC {
public:
    enum class Area { Client, Whole };
    explicit WindowDC(HWND window, Area area = Area::Client) noexcept
        : window_(window), dc_(area == Area::Whole ? ::GetWindowDC(window) : ::GetDC(window)) {}
    ~WindowDC() { if (dc_) ::ReleaseDC(window_, dc_); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a device context and puts the previous one back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~Selection() { if (previous_) ::SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Saves a device context's state (clip, origin, selections) and restores it.
class SavedDC {
public:
    explicit SavedDC(HDC dc) noexcept : dc_(dc), saved_(::SaveDC(dc)) {}
    ~SavedDC() { if (saved_) ::RestoreDC(dc_, saved_); }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC dc_;
    int saved_;
};

}  // namespace platform
