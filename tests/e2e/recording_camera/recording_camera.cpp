// A stand-in for the camera component that shows no picture: it writes every call it gets
// as one line of camera-calls.log beside itself ("SetCameraID 0", "StartCamera 1a2b3c
// 1421x800"), so a test can read what the program asked for and in which order. Its camera
// list text is camera-list.txt beside it, if present.
#include "platform/files.h"
#include "platform/owners.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

std::wstring BesideThisLibrary(const wchar_t* name) {
    HMODULE self = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&BesideThisLibrary), &self);
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = ::GetModuleFileNameW(self, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

void Record(const std::string& line) {
    platform::UniqueFile log(::CreateFileW(BesideThisLibrary(L"camera-calls.log").c_str(), FILE_APPEND_DATA,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!log) return;
    const std::string text = line + "\n";
    DWORD written = 0;
    ::WriteFile(log.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string Call(const char* name, int argument) { return std::string(name) + " " + std::to_string(argument); }

// The list text the component hands out; it stays valid until the next call.
std::string listText;

}  // namespace

extern "C" {

const char* __stdcall GetCameraList() {
    Record("GetCameraList");
    if (const auto bytes = platform::ReadWholeFile(BesideThisLibrary(L"camera-list.txt")))
        listText.assign(bytes->begin(), bytes->end());
    else
        listText = "0|Recording Camera|1|Second Camera|";
    return listText.c_str();
}

int __stdcall SetCameraID(int index) {
    Record(Call("SetCameraID", index));
    return 0;
}

// With the window's size: a real camera draws at the size the window has at this call.
int __stdcall StartCamera(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    char line[96];
    const auto handle = static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(window));
    std::snprintf(line, sizeof line, "StartCamera %llx %ldx%ld", handle, client.right, client.bottom);
    Record(line);
    return 0;
}

int __stdcall CloseCamera(int index) {
    Record(Call("CloseCamera", index));
    return 0;
}

}  // extern "C"
