// The virtual camera's COM server: its class factory, the module's exports, and its entry
// under the video input devices, as a webcam's driver has one.
#include "com_object.h"
#include "source_filter.h"

#include <windows.h>
#include <olectl.h>

#include <new>
#include <string>

namespace vcam {

std::atomic<long>& ModuleReferences() {
    static std::atomic<long> references{0};
    return references;
}

namespace {

HMODULE ThisModule() {
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&ModuleReferences), &module);
    return module;
}

class ClassFactory final : public SingleInterfaceObject<IClassFactory, ClassFactory> {
public:
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        auto* filter = new (std::nothrow) SourceFilter;
        if (!filter) return E_OUTOFMEMORY;
        const HRESULT hr = filter->QueryInterface(iid, object);
        filter->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        lock ? ++ModuleReferences() : --ModuleReferences();
        return S_OK;
    }

private:
    friend class SingleInterfaceObject<IClassFactory, ClassFactory>;  // deletes it
    ~ClassFactory() = default;
};

std::wstring GuidText(const GUID& id) {
    wchar_t text[40] = {};
    ::StringFromGUID2(id, text, 40);
    return text;
}

// The video input device category, under which the system device enumerator looks.
constexpr GUID kVideoInputCategory{0x860BB310, 0x5D01, 0x11d0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};

std::wstring ClassKey() { return L"CLSID\\" + GuidText(kVirtualCameraClass); }
std::wstring DeviceKey() {
    return L"CLSID\\" + GuidText(kVideoInputCategory) + L"\\Instance\\" + GuidText(kVirtualCameraClass);
}

bool SetString(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return ::RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, value.c_str(), bytes) == ERROR_SUCCESS;
}

}  // namespace
}  // namespace vcam

extern "C" {

HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (clsid != vcam::kVirtualCameraClass) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new (std::nothrow) vcam::ClassFactory;
    if (!factory) return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(iid, object);
    factory->Release();
    return hr;
}

HRESULT __stdcall DllCanUnloadNow() { return vcam::ModuleReferences() == 0 ? S_OK : S_FALSE; }

// The class and the device entry in the registry view of this module's width.
HRESULT __stdcall DllRegisterServer() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(vcam::ThisModule(), path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return SELFREG_E_CLASS;
    const std::wstring server = vcam::ClassKey() + L"\\InprocServer32";
    const std::wstring device = vcam::DeviceKey();
    const bool written = vcam::SetString(vcam::ClassKey(), nullptr, vcam::kVirtualCameraName) &&
                         vcam::SetString(server, nullptr, path) && vcam::SetString(server, L"ThreadingModel", L"Both") &&
                         vcam::SetString(device, L"FriendlyName", vcam::kVirtualCameraName) &&
                         vcam::SetString(device, L"CLSID", vcam::GuidText(vcam::kVirtualCameraClass));
    return written ? S_OK : SELFREG_E_CLASS;
}

HRESULT __stdcall DllUnregisterServer() {
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, vcam::DeviceKey().c_str());
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, vcam::ClassKey().c_str());
    return S_OK;
}

}  // extern "C"
