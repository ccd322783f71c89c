// Reference counting for the virtual camera's COM objects, and the count of live objects
// the module answers DllCanUnloadNow with.
#pragma once

#include <windows.h>

#include <atomic>

namespace vcam {

// Objects and server locks alive in this module.
std::atomic<long>& ModuleReferences();

// Counts one module reference for as long as it lives.
class ModuleReference {
public:
    ModuleReference() { ++ModuleReferences(); }
    ~ModuleReference() { --ModuleReferences(); }
    ModuleReference(const ModuleReference&) = delete;
    ModuleReference& operator=(const ModuleReference&) = delete;
};

// A reference count starting at one, for the creator's reference.
class RefCount {
public:
    ULONG Add() { return ++count_; }
    ULONG Drop() { return --count_; }

private:
    std::atomic<ULONG> count_{1};
};

}  // namespace vcam
