// termb.dll, loaded by full path from a program directory of its own as the program loads
// it (with sdtapi.dll and UnPack.dll beside it), for the reader benchmarks.
#pragma once

#include "tests/e2e/harness.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace bench {

struct ReaderLibrary {
    e2e::TempProgramDir dir;
    HMODULE termb = nullptr;
    int(__stdcall* initComm)(int) = nullptr;
    int(__stdcall* authenticate)() = nullptr;
    int(__stdcall* readContent)(int) = nullptr;
    int(__stdcall* closeComm)() = nullptr;

    ReaderLibrary() = default;
    ReaderLibrary(const ReaderLibrary&) = delete;
    ReaderLibrary& operator=(const ReaderLibrary&) = delete;
    // Unloads termb.dll and what it loaded beside itself, so that the directory can go.
    ~ReaderLibrary() {
        if (!termb) return;
        if (closeComm) closeComm();
        ::FreeLibrary(termb);
        for (const wchar_t* name : {L"termb.dll", L"sdtapi.dll", L"UnPack.dll"})
            for (HMODULE left; (left = ::GetModuleHandleW((dir / name).c_str())) != nullptr;) ::FreeLibrary(left);
    }

    // Copies the components from ORVIA_COMPONENT_DIR and loads termb.dll; prints why not.
    bool Load() {
        const std::wstring from = e2e::ComponentDir();
        for (const wchar_t* name : {L"termb.dll", L"sdtapi.dll", L"UnPack.dll"}) {
            if (!::CopyFileW(e2e::JoinPath(from, name).c_str(), (dir / name).c_str(), FALSE)) {
                std::fprintf(stderr, "cannot copy the reader components from ORVIA_COMPONENT_DIR\n");
                return false;
            }
        }
        termb = ::LoadLibraryExW((dir / L"termb.dll").c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (!termb) {
            std::fprintf(stderr, "cannot load termb.dll\n");
            return false;
        }
        initComm = Bind<int(__stdcall*)(int)>("CVR_InitComm");
        authenticate = Bind<int(__stdcall*)()>("CVR_Authenticate");
        readContent = Bind<int(__stdcall*)(int)>("CVR_Read_Content");
        closeComm = Bind<int(__stdcall*)()>("CVR_CloseComm");
        return initComm && authenticate && readContent && closeComm;
    }

    // The program's scan: the first port from 1 to 1200 that answers, or 0.
    int Scan() const {
        for (int port = 1; port <= 1200; ++port)
            if (initComm(port) == 1) return port;
        return 0;
    }

private:
    template <typename Fn>
    Fn Bind(const char* name) const {
        return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(termb, name)));
    }
};

// "--port N" taken out of the arguments (the emulator's port; 3 without it).
inline int PortOption(int& argc, wchar_t** argv) {
    int port = 3;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::wcscmp(argv[i], L"--port") != 0) continue;
        port = _wtoi(argv[i + 1]);
        for (int j = i; j + 2 < argc + 1; ++j) argv[j] = argv[j + 2];
        argc -= 2;
        break;
    }
    return port;
}

}  // namespace bench
