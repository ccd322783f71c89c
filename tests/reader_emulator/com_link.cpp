#include "com_link.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace emulator {

namespace {

std::optional<std::string> LinkTarget(const std::string& path) {
    char buffer[4096];
    const ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer);
    if (n < 0 || static_cast<std::size_t>(n) >= sizeof buffer) return std::nullopt;
    return std::string(buffer, static_cast<std::size_t>(n));
}

bool Exists(const std::string& path) {
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0;  // follows the link
}

bool IsEntry(const std::string& path) {
    struct stat info{};
    return ::lstat(path.c_str(), &info) == 0;
}

// Puts a link at `path` pointing to `target` in one step, over whatever is there.
bool PlaceLink(const std::string& path, const std::string& target) {
    const std::string temporary = path + ".orvia-" + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(target.c_str(), temporary.c_str()) != 0) return false;
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace

std::string DefaultWinePrefix() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) return prefix;
    if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.wine";
    return {};
}

std::unique_ptr<ComLink> ComLink::Make(const std::string& prefix, int number, const std::string& target,
                                       bool replace, std::string* error) {
    auto fail = [&](std::string reason) {
        if (error) *error = std::move(reason);
        return nullptr;
    };
    const std::string devices = prefix + "/dosdevices";
    if (!IsEntry(devices)) return fail(devices + " does not exist (is " + prefix + " a Wine prefix?)");
    const std::string path = devices + "/com" + std::to_string(number);
    std::optional<std::string> previous;
    if (IsEntry(path)) {
        previous = LinkTarget(path);
        if (!previous) return fail(path + " exists and is no link");
        // A dead link (an emulator that was killed, a device that went) is free to take.
        if (!Exists(path))
            previous.reset();
        else if (!replace)
            return fail("com" + std::to_string(number) + " is taken (" + path + " -> " + *previous +
                        "); pick another port or pass --replace");
    }
    if (!PlaceLink(path, target)) return fail("cannot link " + path + ": " + std::strerror(errno));
    return std::unique_ptr<ComLink>(new ComLink(path, target, std::move(previous)));
}

void ComLink::Remove() {
    if (removed_) return;
    removed_ = true;
    // Only our own link: someone may have linked the port anew meanwhile.
    if (LinkTarget(path_) != target_) return;
    if (previous_)
        PlaceLink(path_, *previous_);
    else
        ::unlink(path_.c_str());
}

}  // namespace emulator
