// The three reader components copied into a program directory of their own, termb.dll
// loaded from there by full path as the program loads it, and its calls bound by name.
#pragma once

#include "tests/e2e/harness.h"

#include <windows.h>

#include <array>

namespace readertest {

template <typename Fn>
Fn Bind(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

struct ReaderCalls {
    int(__stdcall* initComm)(int) = nullptr;
    int(__stdcall* authenticate)() = nullptr;
    int(__stdcall* readContent)(int) = nullptr;
    int(__stdcall* closeComm)() = nullptr;
    bool Complete() const { return initComm && authenticate && readContent && closeComm; }
};

class ReaderLibrary {
public:
    ReaderLibrary() {
        for (const wchar_t* name : kComponents) {
            const std::wstring from = e2e::JoinPath(e2e::ComponentDir(), name);
            if (!::CopyFileW(from.c_str(), Beside(name).c_str(), FALSE)) return;
        }
        termb_ = ::LoadLibraryExW(Beside(L"termb.dll").c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    // Unloads termb.dll and what it loaded beside itself, so the directory can go.
    ~ReaderLibrary() {
        if (!termb_ || keepLoaded_) return;
        ::FreeLibrary(termb_);
        for (const wchar_t* name : kComponents) {
            for (int i = 0; i < 8; ++i) {
                const HMODULE left = ::GetModuleHandleW(Beside(name).c_str());
                if (!left) break;
                ::FreeLibrary(left);
            }
        }
    }
    ReaderLibrary(const ReaderLibrary&) = delete;
    ReaderLibrary& operator=(const ReaderLibrary&) = delete;

    HMODULE Termb() const { return termb_; }
    // Another of the components, loaded from the same directory (the one termb.dll uses).
    HMODULE Load(const wchar_t* name) const {
        return ::LoadLibraryExW(Beside(name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    ReaderCalls Calls() const {
        return {Bind<int(__stdcall*)(int)>(termb_, "CVR_InitComm"), Bind<int(__stdcall*)()>(termb_, "CVR_Authenticate"),
                Bind<int(__stdcall*)(int)>(termb_, "CVR_Read_Content"), Bind<int(__stdcall*)()>(termb_, "CVR_CloseComm")};
    }
    std::wstring Beside(const wchar_t* name) const { return dir_ / name; }
    // A call that never returned may still be inside the components: nothing is unloaded.
    void KeepLoaded() { keepLoaded_ = true; }

private:
    static constexpr std::array<const wchar_t*, 3> kComponents{L"termb.dll", L"sdtapi.dll", L"UnPack.dll"};

    e2e::TempProgramDir dir_;
    HMODULE termb_ = nullptr;
    bool keepLoaded_ = false;
};

}  // namespace readertest
