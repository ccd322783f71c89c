#include "control_dir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

namespace emulator {

std::optional<std::string> ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool ControlDir::Prepare(std::string* error) {
    if (::mkdir(path_.c_str(), 0755) != 0 && errno != EEXIST) {
        if (error) *error = "cannot make " + path_ + ": " + std::strerror(errno);
        return false;
    }
    log_.reset(std::fopen(File("log").c_str(), "a"));
    if (!log_) {
        if (error) *error = "cannot write " + File("log") + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

std::string ControlDir::CardPath(std::string_view name) const {
    if (name.find('/') != std::string_view::npos)
        return name.front() == '/' ? std::string(name) : path_ + "/" + std::string(name);
    std::string file = cards_ + "/" + std::string(name);
    if (!name.ends_with(".card")) file += ".card";
    return file;
}

void ControlDir::Complain(std::string& last, const std::string& problem) {
    if (problem == last) return;
    last = problem;
    if (!problem.empty()) {
        std::fprintf(stderr, "orvia_reader_emulator: %s\n", problem.c_str());
        Log("! " + problem);
    }
}

std::optional<SampleCard> ControlDir::Card() {
    const std::string text = ReadText(File("card")).value_or("");
    const std::string_view name = Trimmed(text);
    if (name.empty() || name == "none") {
        Complain(lastCardProblem_, "");
        return std::nullopt;
    }
    const std::string path = CardPath(name);
    const std::optional<std::string> content = ReadText(path);
    if (!content) {
        Complain(lastCardProblem_, "no card file " + path);
        return std::nullopt;
    }
    std::string why;
    std::optional<SampleCard> card = ParseSampleCard(*content, &why);
    Complain(lastCardProblem_, card ? "" : path + ": " + why);
    return card;
}

Fault ControlDir::CurrentFault() {
    const std::string text = ReadText(File("fault")).value_or("");
    const std::optional<Fault> fault = ParseFault(text);
    Complain(lastFaultProblem_, fault ? "" : "unknown fault '" + std::string(Trimmed(text)) + "'");
    return fault.value_or(Fault{});
}

bool ControlDir::StopRequested() const { return ::access(File("stop").c_str(), F_OK) == 0; }

bool ControlDir::Gone() const {
    struct stat info{};
    return ::stat(path_.c_str(), &info) != 0 && errno == ENOENT;
}

std::optional<std::chrono::seconds> ControlDir::HeartbeatAge() const {
    struct stat info{};
    if (::stat(File("heartbeat").c_str(), &info) != 0) return std::nullopt;
    return std::chrono::seconds(std::max<std::time_t>(0, std::time(nullptr) - info.st_mtime));
}

bool ControlDir::Write(std::string_view name, std::string_view content) const {
    const std::string target = File(name);
    const std::string temporary = target + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << content;
        if (!out.flush()) return false;
    }
    return std::rename(temporary.c_str(), target.c_str()) == 0;
}

void ControlDir::Log(std::string_view line) {
    if (!log_) return;
    std::fprintf(log_.get(), "%.*s\n", static_cast<int>(line.size()), line.data());
    std::fflush(log_.get());
}

}  // namespace emulator
