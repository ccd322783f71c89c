// The link that makes a pty the COM port \\.\COM<n> of a Wine prefix:
// <prefix>/dosdevices/com<n> -> /dev/pts/M. Removed again when the owner goes.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace emulator {

class ComLink {
public:
    // Links com<number> in `prefix` to `target`. An existing link whose target is gone is
    // taken over; a live one only with `replace`, and it is put back when this link goes.
    // Null with the reason in `error` when the port is taken or the link cannot be made.
    static std::unique_ptr<ComLink> Make(const std::string& prefix, int number, const std::string& target,
                                         bool replace, std::string* error);

    ComLink(const ComLink&) = delete;
    ComLink& operator=(const ComLink&) = delete;
    ~ComLink() { Remove(); }

    const std::string& Path() const { return path_; }
    // Takes the port away now (an unplugged reader); idempotent.
    void Remove();

private:
    ComLink(std::string path, std::string target, std::optional<std::string> previous)
        : path_(std::move(path)), target_(std::move(target)), previous_(std::move(previous)) {}

    std::string path_;
    std::string target_;
    std::optional<std::string> previous_;  // the target of a link we replaced
    bool removed_ = false;
};

// The Wine prefix in use: $WINEPREFIX, else ~/.wine; empty when neither is known.
std::string DefaultWinePrefix();

}  // namespace emulator
