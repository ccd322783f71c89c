#include "source_pin.h"

#include "control_file.h"
#include "enumerators.h"
#include "source_filter.h"

#include <ks.h>
#include <ksmedia.h>

#include <algorithm>
#include <cwchar>

namespace vcam {

namespace {

using platform::ComPtr;
constexpr wchar_t kPinName[] = L"Capture";
constexpr long kBuffers = 3;

template <typename T>
ComPtr<T> Shared(T* object) {
    if (object) object->AddRef();
    ComPtr<T> owner;
    owner.reset(object);
    return owner;
}

template <typename T>
ComPtr<T> Query(IUnknown* from, const IID& iid) {
    ComPtr<T> object;
    if (from) from->QueryInterface(iid, reinterpret_cast<void**>(object.put()));
    return object;
}

bool Contains(const std::vector<VideoFormat>& formats, VideoFormat format) {
    return std::find(formats.begin(), formats.end(), format) != formats.end();
}

// Whether a type given to Connect leaves the choice to us: its empty parts match anything.
bool PartlyMatches(const AM_MEDIA_TYPE& wanted, const AM_MEDIA_TYPE& offered) {
    if (wanted.majortype != GUID_NULL && wanted.majortype != offered.majortype) return false;
    if (wanted.subtype != GUID_NULL && wanted.subtype != offered.subtype) return false;
    if (wanted.formattype != GUID_NULL && wanted.formattype != offered.formattype) return false;
    return true;
}

}  // namespace

SourcePin::SourcePin(SourceFilter& filter) : filter_(filter) {}
SourcePin::~SourcePin() = default;

HRESULT SourcePin::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IPin) {
        *object = static_cast<IPin*>(this);
    } else if (iid == IID_IKsPropertySet) {
        *object = static_cast<IKsPropertySet*>(this);
    } else if (iid == IID_IAMStreamConfig) {
        *object = static_cast<IAMStreamConfig*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG SourcePin::AddRef() { return filter_.AddRef(); }
ULONG SourcePin::Release() { return filter_.Release(); }

std::vector<VideoFormat> SourcePin::Offered() const {
    const std::vector<VideoFormat> all = OfferedFormats(ReadControl());
    if (preferred_ && Contains(all, *preferred_)) return {*preferred_};
    return all;
}

HRESULT SourcePin::Connect(IPin* receiver, const AM_MEDIA_TYPE* type) {
    if (!receiver) return E_POINTER;
    std::lock_guard lock(filter_.Lock());
    if (connected_) return VFW_E_ALREADY_CONNECTED;
    if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
    const std::optional<VideoFormat> complete = type ? DescribedFormat(*type) : std::nullopt;
    if (complete) {
        if (!Contains(OfferedFormats(ReadControl()), *complete)) return VFW_E_TYPE_NOT_ACCEPTED;
        return TryConnect(receiver, *complete);
    }
    for (const VideoFormat format : Offered()) {
        if (type && !PartlyMatches(*type, MediaType(format).Get())) continue;
        if (TryConnect(receiver, format) == S_OK) return S_OK;
    }
    return VFW_E_NO_ACCEPTABLE_TYPES;
}

HRESULT SourcePin::TryConnect(IPin* receiver, VideoFormat format) {
    const MediaType type(format);
    if (receiver->ReceiveConnection(this, &type.Get()) != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
    connected_ = Shared(receiver);
    connection_ = format;
    if (const HRESULT hr = AgreeAllocator(receiver, format); FAILED(hr)) {
        receiver->Disconnect();
        ForgetConnection();
        return hr;
    }
    return S_OK;
}

HRESULT SourcePin::AgreeAllocator(IPin* receiver, VideoFormat format) {
    auto input = Query<IMemInputPin>(receiver, IID_IMemInputPin);
    if (!input) return VFW_E_NO_TRANSPORT;
    ALLOCATOR_PROPERTIES wanted{};
    input->GetAllocatorRequirements(&wanted);  // E_NOTIMPL leaves the zeros
    wanted.cBuffers = std::max(wanted.cBuffers, kBuffers);
    wanted.cbBuffer = std::max(wanted.cbBuffer, static_cast<long>(FrameBytes(format.pixels, format.size)));
    wanted.cbAlign = std::max(wanted.cbAlign, 1L);
    // The input pin's own allocator first, then the system's plain memory allocator.
    ComPtr<IMemAllocator> candidates[2];
    input->GetAllocator(candidates[0].put());
    ::CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                       reinterpret_cast<void**>(candidates[1].put()));
    for (ComPtr<IMemAllocator>& allocator : candidates) {
        if (!allocator) continue;
        ALLOCATOR_PROPERTIES actual{};
        if (FAILED(allocator->SetProperties(&wanted, &actual)) || actual.cbBuffer < wanted.cbBuffer) continue;
        if (FAILED(input->NotifyAllocator(allocator.get(), FALSE))) continue;
        allocator_ = std::move(allocator);
        input_ = std::move(input);
        return S_OK;
    }
    return VFW_E_NO_ALLOCATOR;
}

void SourcePin::ForgetConnection() {
    stream_.reset();
    allocator_.reset();
    input_.reset();
    connected_.reset();
    connection_.reset();
}

HRESULT SourcePin::Disconnect() {
    std::lock_guard lock(filter_.Lock());
    if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
    if (!connected_) return S_FALSE;
    ForgetConnection();
    return S_OK;
}

HRESULT SourcePin::ConnectedTo(IPin** pin) {
    if (!pin) return E_POINTER;
    std::lock_guard lock(filter_.Lock());
    *pin = connected_.get();
    if (!*pin) return VFW_E_NOT_CONNECTED;
    (*pin)->AddRef();
    return S_OK;
}

HRESULT SourcePin::ConnectionMediaType(AM_MEDIA_TYPE* type) {
    if (!type) return E_POINTER;
    std::lock_guard lock(filter_.Lock());
    if (!connection_) {
        *type = AM_MEDIA_TYPE{};
        return VFW_E_NOT_CONNECTED;
    }
    return MediaType(*connection_).CopyTo(type);
}

HRESULT SourcePin::QueryPinInfo(PIN_INFO* info) {
    if (!info) return E_POINTER;
    info->pFilter = &filter_;
    filter_.AddRef();
    info->dir = PINDIR_OUTPUT;
    std::wcsncpy(info->achName, kPinName, MAX_PIN_NAME - 1);
    info->achName[MAX_PIN_NAME - 1] = L'\0';
    return S_OK;
}

HRESULT SourcePin::QueryDirection(PIN_DIRECTION* direction) {
    if (!direction) return E_POINTER;
    *direction = PINDIR_OUTPUT;
    return S_OK;
}

HRESULT SourcePin::QueryId(LPWSTR* id) {
    if (!id) return E_POINTER;
    *id = TaskMemoryString(kPinName);
    return *id ? S_OK : E_OUTOFMEMORY;
}

HRESULT SourcePin::QueryAccept(const AM_MEDIA_TYPE* type) {
    if (!type) return E_POINTER;
    const std::optional<VideoFormat> format = DescribedFormat(*type);
    return format && Contains(OfferedFormats(ReadControl()), *format) ? S_OK : S_FALSE;
}

HRESULT SourcePin::EnumMediaTypes(IEnumMediaTypes** types) {
    if (!types) return E_POINTER;
    std::lock_guard lock(filter_.Lock());
    *types = NewMediaTypeEnumerator(Offered());
    return *types ? S_OK : E_OUTOFMEMORY;
}

HRESULT SourcePin::Activate() {
    if (!connected_) return S_OK;  // an unconnected pin has nothing to feed
    if (stream_) return S_OK;
    if (FAILED(allocator_->Commit())) return VFW_E_NO_ALLOCATOR;
    ComPtr<IMediaEventSink> events = Query<IMediaEventSink>(filter_.Graph(), IID_IMediaEventSink);
    stream_ = std::make_unique<FrameStream>(Shared(allocator_.get()), Shared(input_.get()), *connection_,
                                            std::move(events), static_cast<IBaseFilter*>(&filter_));
    if (!stream_->Started()) {
        stream_.reset();
        allocator_->Decommit();
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

void SourcePin::SetRunning(bool running) {
    if (stream_) stream_->SetRunning(running);
}

void SourcePin::Deactivate() {
    stream_.reset();  // decommits the allocator and waits for the thread
}

HRESULT SourcePin::Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD dataSize, DWORD* returned) {
    if (set != AMPROPSETID_Pin) return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY) return E_PROP_ID_UNSUPPORTED;
    if (returned) *returned = sizeof(GUID);
    if (!data) return returned ? S_OK : E_POINTER;
    if (dataSize < sizeof(GUID)) return E_UNEXPECTED;
    *static_cast<GUID*>(data) = PIN_CATEGORY_CAPTURE;
    return S_OK;
}

HRESULT SourcePin::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
    if (set != AMPROPSETID_Pin) return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY) return E_PROP_ID_UNSUPPORTED;
    if (support) *support = KSPROPERTY_SUPPORT_GET;
    return S_OK;
}

HRESULT SourcePin::SetFormat(AM_MEDIA_TYPE* type) {
    std::lock_guard lock(filter_.Lock());
    if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
    if (!type) {
        preferred_.reset();
        return S_OK;
    }
    const std::optional<VideoFormat> format = DescribedFormat(*type);
    if (!format || !Contains(OfferedFormats(ReadControl()), *format)) return VFW_E_INVALIDMEDIATYPE;
    preferred_ = format;
    if (!connected_ || connection_ == format) return S_OK;
    // Already connected in another format: the graph connects the pin again.
    IFilterGraph* graph = filter_.Graph();
    return graph ? graph->Reconnect(this) : VFW_E_ALREADY_CONNECTED;
}

HRESULT SourcePin::GetFormat(AM_MEDIA_TYPE** type) {
    if (!type) return E_POINTER;
    std::lock_guard lock(filter_.Lock());
    const std::vector<VideoFormat> offered = Offered();
    const std::optional<VideoFormat> format = connection_ ? connection_ : preferred_;
    if (!format && offered.empty()) return VFW_E_NOT_CONNECTED;
    *type = MediaType(format ? *format : offered.front()).NewCopy();
    return *type ? S_OK : E_OUTOFMEMORY;
}

HRESULT SourcePin::GetNumberOfCapabilities(int* count, int* size) {
    if (!count || !size) return E_POINTER;
    *count = static_cast<int>(OfferedFormats(ReadControl()).size());
    *size = sizeof(VIDEO_STREAM_CONFIG_CAPS);
    return S_OK;
}

HRESULT SourcePin::GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) {
    if (!type || !caps) return E_POINTER;
    const std::vector<VideoFormat> formats = OfferedFormats(ReadControl());
    if (index < 0 || index >= static_cast<int>(formats.size())) return S_FALSE;
    const VideoFormat format = formats[static_cast<std::size_t>(index)];
    *type = MediaType(format).NewCopy();
    if (!*type) return E_OUTOFMEMORY;
    VIDEO_STREAM_CONFIG_CAPS config{};
    config.guid = FORMAT_VideoInfo;
    config.VideoStandard = 0;
    const SIZE size{format.size.width, format.size.height};
    config.InputSize = config.MinCroppingSize = config.MaxCroppingSize = size;
    config.MinOutputSize = config.MaxOutputSize = size;
    config.CropGranularityX = config.CropGranularityY = 1;
    config.CropAlignX = config.CropAlignY = 1;
    config.OutputGranularityX = config.OutputGranularityY = 1;
    config.MinFrameInterval = config.MaxFrameInterval = kFrameInterval;
    const auto bits = static_cast<LONG>(FrameBytes(format.pixels, format.size) * 8 * kFramesPerSecond);
    config.MinBitsPerSecond = config.MaxBitsPerSecond = bits;
    *reinterpret_cast<VIDEO_STREAM_CONFIG_CAPS*>(caps) = config;
    return S_OK;
}

}  // namespace vcam
