#include "source_filter.h"

#include "control_file.h"
#include "enumerators.h"

#include <cstring>
#include <cwchar>

namespace vcam {

LPWSTR TaskMemoryString(const wchar_t* text) {
    const std::size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
    auto* copy = static_cast<LPWSTR>(::CoTaskMemAlloc(bytes));
    if (copy) std::memcpy(copy, text, bytes);
    return copy;
}

SourceFilter::SourceFilter() : pin_(*this) {}

SourceFilter::~SourceFilter() {
    std::lock_guard lock(lock_);
    pin_.Deactivate();
}

HRESULT SourceFilter::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IMediaFilter || iid == IID_IBaseFilter) {
        *object = static_cast<IBaseFilter*>(this);
    } else if (iid == IID_IAMStreamConfig) {
        // Some programs ask the filter rather than its pin.
        return pin_.QueryInterface(iid, object);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG SourceFilter::Release() {
    const ULONG left = refs_.Drop();
    if (left == 0) delete this;
    return left;
}

HRESULT SourceFilter::GetClassID(CLSID* id) {
    if (!id) return E_POINTER;
    *id = kVirtualCameraClass;
    return S_OK;
}

HRESULT SourceFilter::Stop() {
    std::lock_guard lock(lock_);
    pin_.Deactivate();
    state_ = State_Stopped;
    return S_OK;
}

HRESULT SourceFilter::Pause() {
    std::lock_guard lock(lock_);
    if (state_ == State_Stopped) {
        // A device that cannot start, as a webcam held by another program.
        if (ReadControl().failStart) return HRESULT_FROM_WIN32(ERROR_GEN_FAILURE);
        if (const HRESULT hr = pin_.Activate(); FAILED(hr)) return hr;
    }
    pin_.SetRunning(false);
    state_ = State_Paused;
    return S_OK;
}

HRESULT SourceFilter::Run(REFERENCE_TIME) {
    std::lock_guard lock(lock_);
    if (state_ == State_Stopped) {
        if (const HRESULT hr = Pause(); FAILED(hr)) return hr;
    }
    pin_.SetRunning(true);
    state_ = State_Running;
    return S_OK;
}

HRESULT SourceFilter::GetState(DWORD, FILTER_STATE* state) {
    if (!state) return E_POINTER;
    std::lock_guard lock(lock_);
    *state = state_;
    // A live source has nothing to show while paused.
    return state_ == State_Paused ? VFW_S_CANT_CUE : S_OK;
}

HRESULT SourceFilter::SetSyncSource(IReferenceClock* clock) {
    std::lock_guard lock(lock_);
    if (clock) clock->AddRef();
    clock_.reset(clock);
    return S_OK;
}

HRESULT SourceFilter::GetSyncSource(IReferenceClock** clock) {
    if (!clock) return E_POINTER;
    std::lock_guard lock(lock_);
    *clock = clock_.get();
    if (*clock) (*clock)->AddRef();
    return S_OK;
}

HRESULT SourceFilter::EnumPins(IEnumPins** pins) {
    if (!pins) return E_POINTER;
    *pins = NewPinEnumerator(&pin_);
    return *pins ? S_OK : E_OUTOFMEMORY;
}

HRESULT SourceFilter::FindPin(LPCWSTR id, IPin** pin) {
    if (!id || !pin) return E_POINTER;
    *pin = nullptr;
    LPWSTR own = nullptr;
    if (FAILED(pin_.QueryId(&own))) return E_OUTOFMEMORY;
    const bool same = std::wcscmp(own, id) == 0;
    ::CoTaskMemFree(own);
    if (!same) return VFW_E_NOT_FOUND;
    *pin = &pin_;
    pin_.AddRef();
    return S_OK;
}

HRESULT SourceFilter::QueryFilterInfo(FILTER_INFO* info) {
    if (!info) return E_POINTER;
    std::lock_guard lock(lock_);
    std::wcsncpy(info->achName, name_.c_str(), MAX_FILTER_NAME - 1);
    info->achName[MAX_FILTER_NAME - 1] = L'\0';
    info->pGraph = graph_;
    if (graph_) graph_->AddRef();
    return S_OK;
}

HRESULT SourceFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
    std::lock_guard lock(lock_);
    graph_ = graph;
    name_ = name ? name : L"";
    return S_OK;
}

HRESULT SourceFilter::QueryVendorInfo(LPWSTR* info) {
    if (!info) return E_POINTER;
    *info = TaskMemoryString(L"Orvia");
    return *info ? S_OK : E_OUTOFMEMORY;
}

}  // namespace vcam
