// The virtual camera as DirectShow sees it: a source filter with one capture pin, made by
// the module's class factory when the system device enumerator binds its entry.
#pragma once

#include "com_object.h"
#include "platform/com_ptr.h"
#include "source_pin.h"

#include <windows.h>
#include <dshow.h>

#include <mutex>
#include <string>

namespace vcam {

// The class the device entry names, and the name it shows.
inline constexpr CLSID kVirtualCameraClass{0x6f1c722c, 0x6457, 0x408a, {0xab, 0x48, 0xd3, 0x8c, 0x1f, 0xd2, 0x6d, 0x49}};
inline constexpr wchar_t kVirtualCameraName[] = L"Orvia Virtual Camera";

class SourceFilter final : public IBaseFilter {
public:
    SourceFilter();
    SourceFilter(const SourceFilter&) = delete;
    SourceFilter& operator=(const SourceFilter&) = delete;

    // Held by every call that reads or changes the state, the graph or the connection.
    std::recursive_mutex& Lock() { return lock_; }
    FILTER_STATE State() const { return state_; }
    // The graph the filter is in; not owned (the graph owns its filters). Null outside one.
    IFilterGraph* Graph() const { return graph_; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return refs_.Add(); }
    ULONG STDMETHODCALLTYPE Release() override;
    // IPersist
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) override;
    // IMediaFilter
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE Pause() override;
    HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME start) override;
    HRESULT STDMETHODCALLTYPE GetState(DWORD timeout, FILTER_STATE* state) override;
    HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock* clock) override;
    HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock** clock) override;
    // IBaseFilter
    HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** pins) override;
    HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR id, IPin** pin) override;
    HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* info) override;
    HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR* info) override;

private:
    ~SourceFilter();

    RefCount refs_;
    ModuleReference module_;
    std::recursive_mutex lock_;
    FILTER_STATE state_ = State_Stopped;
    IFilterGraph* graph_ = nullptr;
    std::wstring name_;
    platform::ComPtr<IReferenceClock> clock_;
    SourcePin pin_;
};

// A string in task memory, as DirectShow hands strings out; null when memory ran out.
LPWSTR TaskMemoryString(const wchar_t* text);

}  // namespace vcam
