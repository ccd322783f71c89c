#include "platform/program_directory.h"

#include "platform/files.h"
#include "platform/module_directory.h"

namespace platform {

std::wstring ProgramDirectory() {
    std::wstring directory = ModuleDirectory(nullptr);
    return directory.empty() ? std::wstring(L".") : directory;
}

std::wstring BesideProgram(std::wstring_view name) { return JoinPath(ProgramDirectory(), name); }

}  // namespace platform
