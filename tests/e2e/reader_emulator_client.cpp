#include "tests/e2e/reader_emulator_client.h"

#include "platform/files.h"
#include "platform/win_text.h"

#include <windows.h>

namespace e2e {

namespace {

// How often the heartbeat file is written, and how stale the emulator lets it get: a test
// that crashes leaves an emulator behind for a few seconds only.
constexpr Milliseconds kHeartbeatEvery{500};
constexpr char kHeartbeatSeconds[] = "5";
// The longest an emulator may run, whatever happens.
constexpr char kLifetimeSeconds[] = "900";
constexpr Milliseconds kReadyTimeout{10s};

// Wine's own export that turns a Windows path into the Linux one behind it.
using UnixFileNameFn = char*(__cdecl*)(const wchar_t*);

UnixFileNameFn UnixFileNameFunction() {
    static const auto function = reinterpret_cast<UnixFileNameFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    return function;
}

std::string UnixPath(const std::wstring& windowsPath) {
    const UnixFileNameFn toUnix = UnixFileNameFunction();
    if (!toUnix) return {};
    char* unix = toUnix(windowsPath.c_str());
    if (!unix) return {};
    std::string path(unix);
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return path;
}

std::wstring Quoted(std::string_view text) { return L"\"" + platform::Wide(text) + L"\""; }

std::wstring NewControlDirectory() {
    static std::atomic<unsigned> counter{0};
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring base = length ? std::wstring(temp, length) : std::wstring(L".\\");
    for (;;) {
        const std::wstring candidate = JoinPath(base, L"orvia-reader-" + std::to_wstring(::GetCurrentProcessId()) +
                                                          L"-" + std::to_wstring(++counter));
        if (::CreateDirectoryW(candidate.c_str(), nullptr)) return candidate;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) return {};
    }
}

}  // namespace

std::string ReaderEmulator::Unavailable() {
    if (!RunsUnderWine() || !UnixFileNameFunction()) return "the reader emulator runs beside Wine only";
    const auto emulator = EnvironmentValue(L"ORVIA_READER_EMULATOR");
    if (!emulator || emulator->empty())
        return "ORVIA_READER_EMULATOR is not set (configure with -DORVIA_READER_EMULATOR=<native build>/"
               "tests/reader_emulator/orvia_reader_emulator)";
    if (!IsPlainFile(WindowsPath(*emulator))) return "no reader emulator at " + platform::Narrow(*emulator);
    return {};
}

std::wstring SampleCardPath(std::string_view name) {
    const std::wstring cards = PathFromEnvironment(L"ORVIA_READER_CARDS");
    return cards.empty() ? std::wstring() : JoinPath(cards, platform::Wide(name) + L".card");
}

ReaderEmulator::~ReaderEmulator() { Stop(); }

bool ReaderEmulator::Start(int port, std::string_view card, std::string_view fault) {
    if (!control_.empty()) {
        error_ = "this emulator has been started already";
        return false;
    }
    if (error_ = Unavailable(); !error_.empty()) return false;
    port_ = port;
    control_ = NewControlDirectory();
    const std::string controlUnix = control_.empty() ? std::string() : UnixPath(control_);
    if (controlUnix.empty()) {
        error_ = "no control directory";
        return false;
    }
    if (!WriteControl(L"heartbeat", "") || !WriteControl(L"card", card) || !WriteControl(L"fault", fault)) {
        error_ = "cannot write to the control directory " + platform::Narrow(control_);
        return false;
    }
    beating_ = true;
    heartbeat_ = std::thread([this] {
        while (beating_) {
            WriteControl(L"heartbeat", "");
            for (Milliseconds slept{0}; beating_ && slept < kHeartbeatEvery; slept += 50ms) ::Sleep(50);
        }
    });

    // A Linux program started from Wine runs detached: no handle comes back, so the control
    // directory is the only way to learn how it fares.
    const std::wstring emulator = *EnvironmentValue(L"ORVIA_READER_EMULATOR");
    std::wstring commandLine = Quoted(platform::Narrow(emulator)) + L" --com " + std::to_wstring(port) +
                               L" --control " + Quoted(controlUnix) + L" --heartbeat " +
                               platform::Wide(kHeartbeatSeconds) + L" --lifetime " + platform::Wide(kLifetimeSeconds);
    if (const auto cards = EnvironmentValue(L"ORVIA_READER_CARDS"); cards && !cards->empty())
        commandLine += L" --cards " + Quoted(platform::Narrow(*cards));
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(emulator.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info)) {
        error_ = "cannot start " + platform::Narrow(emulator) + " (error " + std::to_string(::GetLastError()) + ")";
        return false;
    }
    if (info.hThread) ::CloseHandle(info.hThread);
    if (info.hProcess) ::CloseHandle(info.hProcess);

    const std::wstring ready = JoinPath(control_, L"ready");
    if (!WaitUntil([&] { return IsPlainFile(ready) || HasEnded(); }, kReadyTimeout) || HasEnded()) {
        error_ = "the emulator did not start on COM" + std::to_string(port) + ": " +
                 (HasEnded() ? ExitReason() : "no word from it within 10 s");
        return false;
    }
    return true;
}

bool ReaderEmulator::SetCard(std::string_view card) { return WriteControl(L"card", card); }
bool ReaderEmulator::SetFault(std::string_view fault) { return WriteControl(L"fault", fault); }

bool ReaderEmulator::Stop(Milliseconds timeout) {
    if (control_.empty()) return true;
    bool ended = HasEnded();
    if (!ended && IsPlainFile(JoinPath(control_, L"ready"))) {
        WriteControl(L"stop", "");
        ended = WaitUntil([&] { return HasEnded(); }, timeout);
    }
    StopHeartbeat();  // an emulator that did not hear the stop ends when the heartbeat stops
    RemoveTree(control_);
    control_.clear();
    return ended;
}

void ReaderEmulator::StopHeartbeat() {
    beating_ = false;
    if (heartbeat_.joinable()) heartbeat_.join();
}

bool ReaderEmulator::HasEnded() const { return !control_.empty() && IsPlainFile(JoinPath(control_, L"exited")); }

std::string ReaderEmulator::ExitReason() const {
    std::string text = ReadControl(L"exited");
    if (text.starts_with("reason=")) text.erase(0, 7);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

std::string ReaderEmulator::Log() const { return ReadControl(L"log"); }

int ReaderEmulator::CountInLog(std::string_view entry) const {
    const std::string log = Log();
    int count = 0;
    for (std::size_t at = log.find(entry); at != std::string::npos; at = log.find(entry, at + entry.size())) ++count;
    return count;
}

bool ReaderEmulator::TakeCardAway(Milliseconds timeout) {
    constexpr std::string_view kFoundEmpty = "find 2001 -> 80";
    const int before = CountInLog(kFoundEmpty);
    return SetCard("none") && WaitUntil([&] { return CountInLog(kFoundEmpty) > before; }, timeout);
}

bool ReaderEmulator::WriteControl(std::wstring_view name, std::string_view text) const {
    if (control_.empty()) return false;
    std::string line(text);
    line += '\n';
    // Whole or not at all: the emulator reads these files at any moment.
    return platform::WriteFileWhole(JoinPath(control_, name),
                                    std::span(reinterpret_cast<const std::uint8_t*>(line.data()), line.size())) ==
           ERROR_SUCCESS;
}

std::string ReaderEmulator::ReadControl(std::wstring_view name) const {
    if (control_.empty()) return {};
    const auto bytes = platform::ReadWholeFile(JoinPath(control_, name));
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

}  // namespace e2e
