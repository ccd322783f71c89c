#include "platform/component_library.h"

#include "platform/files.h"
#include "platform/pe_image.h"
#include "platform/win_text.h"

namespace platform {

namespace {
std::string Bits(PeMachine machine) { return machine == PeMachine::X64 ? "64" : "32"; }
std::string Build(PeMachine machine) { return machine == PeMachine::X64 ? "64 位（x64）" : "32 位（x86）"; }
}  // namespace

std::wstring SystemLibraryPath(std::wstring_view name) {
    wchar_t system[MAX_PATH]{};
    const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return JoinPath(std::wstring(system, length), name);
}

ComponentLibrary::ComponentLibrary(const std::wstring& fullPath)
    : path_(fullPath), module_(::LoadLibraryExW(fullPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {
    if (!module_) loadError_ = ::GetLastError();
}

bool ComponentLibrary::PinForProcessLifetime() const {
    if (!module_) return false;
    HMODULE pinned = nullptr;
    return ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                                reinterpret_cast<LPCWSTR>(module_.get()), &pinned) != 0;
}

std::string ComponentLibrary::Problem() const {
    if (module_ || path_.empty() || !Exists(path_) || IsDirectory(path_)) return {};
    const std::string file = Narrow(path_.substr(path_.find_last_of(L"\\/") + 1));
    const auto bytes = ReadWholeFile(path_);
    const PeMachine machine = bytes ? MachineOf(*bytes) : PeMachine::Unknown;
    const PeMachine ours = ThisProgramMachine();
    if ((machine == PeMachine::X86 || machine == PeMachine::X64) && machine != ours) {
        // A 64-bit process cannot load a 32-bit DLL, nor the other way round.
        return "“" + file + "”是 " + Bits(machine) + " 位的库，这个 " + Bits(ours) + " 位的 Orvia 不能使用它。请改用 " +
               Build(machine) + "的 Orvia，或换用 " + Bits(ours) + " 位的 " + file + "。";
    }
    return "“" + file + "”无法加载（错误 " + std::to_string(loadError_) + "）。请检查这个文件是否完整，或换用可用的 " +
           file + "。";
}

}  // namespace platform
