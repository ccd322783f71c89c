#include "fault.h"

#include <array>
#include <utility>

namespace emulator {

namespace {

constexpr std::array<std::pair<std::string_view, FaultMode>, 8> kModes{{
    {"none", FaultMode::None},
    {"removed", FaultMode::Removed},
    {"bad-checksum", FaultMode::BadChecksum},
    {"silent", FaultMode::Silent},
    {"garbage", FaultMode::Garbage},
    {"noise", FaultMode::Noise},
    {"unplug", FaultMode::Unplug},
    {"unplug-after", FaultMode::UnplugAfter},
}};

constexpr std::array<std::pair<std::string_view, sam::Command>, 6> kRequests{{
    {"status", sam::kModuleStatus},
    {"reset", sam::kResetModule},
    {"id", sam::kReadModuleId},
    {"find", sam::kFindCard},
    {"select", sam::kSelectCard},
    {"read", sam::kReadTextAndPhoto},
}};

}  // namespace

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view kSpace = " \t\r\n";
    const auto first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

std::string_view RequestName(sam::Command request) {
    for (const auto& [name, command] : kRequests)
        if (command == request) return name;
    return "?";
}

std::string_view ModeName(FaultMode mode) {
    for (const auto& [name, known] : kModes)
        if (known == mode) return name;
    return "?";
}

std::optional<Fault> ParseFault(std::string_view text) {
    text = Trimmed(text);
    if (text.empty()) return Fault{};
    const auto at = text.find('@');
    const std::string_view modeName = text.substr(0, at);
    Fault fault;
    bool known = false;
    for (const auto& [name, mode] : kModes) {
        if (name == modeName) {
            fault.mode = mode;
            known = true;
        }
    }
    if (!known) return std::nullopt;
    // The card leaves before the read: that is the one request it spoils.
    if (fault.mode == FaultMode::Removed) fault.only = sam::kReadTextAndPhoto;
    if (at == std::string_view::npos) return fault;
    if (fault.mode == FaultMode::None || fault.mode == FaultMode::Removed) return std::nullopt;
    const std::string_view requestName = text.substr(at + 1);
    for (const auto& [name, command] : kRequests)
        if (name == requestName) fault.only = command;
    if (!fault.only) return std::nullopt;
    return fault;
}

}  // namespace emulator
