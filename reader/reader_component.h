// The reader component (termb.dll beside the program, with the transport and the portrait
// decoder it loads): deploying it, finding the reader, reading a card and what the card
// text file then holds.
#pragma once

#include "platform/component_library.h"
#include "platform/deployment.h"

#include <windows.h>

#include <array>
#include <optional>
#include <string>

namespace reader {

inline constexpr platform::ComponentFile kTermb{L"termb.dll", L"TERMB_DLL"};
inline constexpr platform::ComponentFile kUnPack{L"UnPack.dll", L"UNPACK_DLL"};
inline constexpr platform::ComponentFile kSdtapi{L"sdtapi.dll", L"SDTAPI_DLL"};
// In the order they are written at start-up.
inline constexpr std::array kReaderComponentFiles{kTermb, kUnPack, kSdtapi};

// Loaded on first use and kept while the object lives: the reader's port stays open
// between calls.
class ReaderComponent {
public:
    // Writes any missing reader file beside the program; once, before any call.
    static void DeployFiles();
    // Tries ports 1 to 1200 in order; 1 when one opened, 0 when none did.
    int Initialise();

    // Selects the card on the opened reader and reads it (the component then writes the
    // card text file), and beeps: 1 when both calls succeeded, 0 otherwise. A port that the
    // last check closed is opened again first.
    int ReadCard();
    // The two halves: 1 when a card lies on the reader and was selected; then 1 when it was
    // read (with the beep, if `beep`).
    int SelectCard();
    int ReadSelectedCard(bool beep = true);
    // Whether the reader found by the last scan still answers on its port. Asking opens
    // the port again; a reader that does not answer leaves it closed.
    bool ReaderAnswers();

    // Field `position` of the card text file (1 the name, 6 the ID number) as UTF-8, read
    // afresh; nullopt when no reader answers, on its own port or, scanned again, on any.
    std::optional<std::string> CardField(int position);

    // Why termb.dll, present beside the program, could not be loaded (a library of the
    // other width, a damaged file), in words for the operator; empty when it loaded or is absent.
    std::string LoadProblem() { return Library().Problem(); }

private:
    const platform::ComponentLibrary& Library();
    // A missing export reads as a failed call: a component that cannot be used is no reader.
    template <typename Fn, typename... Args>
    int Call(const char* name, Args... args) {
        const auto function = Library().Find<Fn>(name);
        return function ? function(args...) : 0;
    }

    platform::ComponentLibrary library_;
    bool loaded_ = false;
    int port_ = 0;  // where the last scan found the reader; 0 for none
    bool portOpen_ = false;  // the last scan or check left the reader's port open
};

}  // namespace reader
