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

// IUnknown for an object that offers one interface: the reference count, the module
// reference, and the most derived object deleted when the count drops to nothing.
template <typename Interface, typename Derived>
class SingleInterfaceObject : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == IID_IUnknown || iid == __uuidof(Interface)) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return refs_.Add(); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = refs_.Drop();
        if (left == 0) delete static_cast<Derived*>(this);
        return left;
    }

protected:
    ~SingleInterfaceObject() = default;

private:
    RefCount refs_;
    ModuleReference module_;
};

}  // namespace vcam
