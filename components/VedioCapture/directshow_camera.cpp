#include "directshow_camera.h"

#include "capture_format.h"
#include "platform/com_ptr.h"
#include "platform/owners.h"

#include <dshow.h>
#include <qedit.h>

#include <atomic>
#include <cstdlib>
#include <optional>
#include <vector>

namespace vedio {

namespace {
using platform::ComPtr;

// The sample grabber and the null renderer ship with DirectShow (qedit.dll); their class
// identifiers are not in every SDK's headers.
constexpr CLSID kSampleGrabber{0xC1F400A0, 0x3F08, 0x11d3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
constexpr CLSID kNullRenderer{0xC1F400A4, 0x3F08, 0x11d3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
constexpr auto kWaitForPreviousDevice = std::chrono::milliseconds(3000);

// What a media type's fields hold; the structure itself stays.
void FreeMediaTypeFields(AM_MEDIA_TYPE& type) {
    if (type.cbFormat && type.pbFormat) ::CoTaskMemFree(type.pbFormat);
    if (type.pUnk) type.pUnk->Release();
}

void FreeMediaType(AM_MEDIA_TYPE* type) {
    if (!type) return;
    FreeMediaTypeFields(*type);
    ::CoTaskMemFree(type);
}

struct MediaTypeOwner {
    void operator()(AM_MEDIA_TYPE* type) const { FreeMediaType(type); }
};
using UniqueMediaType = std::unique_ptr<AM_MEDIA_TYPE, MediaTypeOwner>;

// A media type whose fields a call filled in (the structure itself is ours).
struct FilledMediaType {
    AM_MEDIA_TYPE type{};
    FilledMediaType() = default;
    FilledMediaType(const FilledMediaType&) = delete;
    FilledMediaType& operator=(const FilledMediaType&) = delete;
    ~FilledMediaType() { FreeMediaTypeFields(type); }
};

// Calls `visit(index, moniker, friendlyName)` for every video input device until it
// returns false.
template <typename Visit>
void ForEachVideoInput(Visit&& visit) {
    ComPtr<ICreateDevEnum> devices;
    if (FAILED(::CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                  reinterpret_cast<void**>(devices.put()))))
        return;
    ComPtr<IEnumMoniker> monikers;
    // S_FALSE and no enumerator when the category is empty.
    if (devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, monikers.put(), 0) != S_OK || !monikers)
        return;
    ComPtr<IMoniker> moniker;
    for (int index = 0; monikers->Next(1, moniker.put(), nullptr) == S_OK; ++index) {
        std::wstring name;
        ComPtr<IPropertyBag> properties;
        if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag,
                                             reinterpret_cast<void**>(properties.put())))) {
            VARIANT value;
            ::VariantInit(&value);
            if (SUCCEEDED(properties->Read(L"FriendlyName", &value, nullptr)) && value.vt == VT_BSTR && value.bstrVal)
                name = value.bstrVal;
            ::VariantClear(&value);
        }
        if (!visit(index, moniker.get(), name)) return;
    }
}

ComPtr<IBaseFilter> BindVideoInput(int wanted, const std::wstring& wantedName) {
    ComPtr<IBaseFilter> filter;
    ForEachVideoInput([&](int index, IMoniker* moniker, const std::wstring& name) {
        if (index != wanted) return true;
        // The list the operator chose from may be out of date (a camera unplugged since).
        if (name == wantedName)
            moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(filter.put()));
        return false;
    });
    return filter;
}

// FOURCC video subtypes: the code in the first field, the rest fixed.
constexpr GUID FourccSubtype(DWORD fourcc) {
    return {fourcc, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}
constexpr GUID kSubtypeYuy2 = FourccSubtype(0x32595559);  // 'YUY2'
constexpr GUID kSubtypeNv12 = FourccSubtype(0x3231564E);  // 'NV12'
constexpr GUID kSubtypeI420 = FourccSubtype(0x30323449);  // 'I420'
constexpr GUID kSubtypeIyuv = FourccSubtype(0x56555949);  // 'IYUV', the same layout

Encoding EncodingOf(const GUID& subtype) {
    if (subtype == kSubtypeYuy2) return Encoding::Yuy2;
    if (subtype == kSubtypeNv12) return Encoding::Nv12;
    if (subtype == kSubtypeI420 || subtype == kSubtypeIyuv) return Encoding::I420;
    if (subtype == MEDIASUBTYPE_RGB32) return Encoding::Rgb32;
    if (subtype == MEDIASUBTYPE_RGB24) return Encoding::Rgb24;
    return Encoding::Decoded;
}

const VIDEOINFOHEADER* VideoInfo(const AM_MEDIA_TYPE& type) {
    if (type.formattype != FORMAT_VideoInfo || type.cbFormat < sizeof(VIDEOINFOHEADER) || !type.pbFormat)
        return nullptr;
    return reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
}

// Sets the capture pin to the best format the device offers (capture_format.h says which)
// and returns the subtype set; null when the device's default stays (it offers nothing
// readable).
std::optional<GUID> SetBestDeviceFormat(ICaptureGraphBuilder2* builder, IBaseFilter* device) {
    ComPtr<IAMStreamConfig> config;
    if (FAILED(builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, device, IID_IAMStreamConfig,
                                      reinterpret_cast<void**>(config.put()))))
        return std::nullopt;
    int count = 0, capsSize = 0;
    if (FAILED(config->GetNumberOfCapabilities(&count, &capsSize)) || capsSize != sizeof(VIDEO_STREAM_CONFIG_CAPS))
        return std::nullopt;
    std::vector<UniqueMediaType> types;
    std::vector<OfferedFormat> offered;
    for (int i = 0; i < count; ++i) {
        AM_MEDIA_TYPE* raw = nullptr;
        VIDEO_STREAM_CONFIG_CAPS caps{};
        if (FAILED(config->GetStreamCaps(i, &raw, reinterpret_cast<BYTE*>(&caps))) || !raw) continue;
        UniqueMediaType type(raw);
        const VIDEOINFOHEADER* video = VideoInfo(*type);
        if (!video) continue;
        // The fastest the format runs, in frames per second (intervals in 100 ns units).
        const LONGLONG interval = caps.MinFrameInterval > 0 ? caps.MinFrameInterval : video->AvgTimePerFrame;
        offered.push_back({{static_cast<int>(video->bmiHeader.biWidth), std::abs(static_cast<int>(video->bmiHeader.biHeight))},
                           EncodingOf(type->subtype),
                           interval > 0 ? 1e7 / static_cast<double>(interval) : 0.0});
        types.push_back(std::move(type));
    }
    const auto best = ChooseDeviceFormat(offered);
    if (!best || FAILED(config->SetFormat(types[*best].get()))) return std::nullopt;
    return types[*best]->subtype;
}

// Connects device -> grabber -> null renderer with the grabber taking `subtype` only.
bool Connect(ICaptureGraphBuilder2* builder, IBaseFilter* device, ISampleGrabber* grabber, IBaseFilter* grabberFilter,
             IBaseFilter* renderer, const GUID& subtype) {
    AM_MEDIA_TYPE wanted{};
    wanted.majortype = MEDIATYPE_Video;
    wanted.subtype = subtype;
    wanted.formattype = FORMAT_VideoInfo;
    if (FAILED(grabber->SetMediaType(&wanted))) return false;
    return SUCCEEDED(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, device, grabberFilter, renderer));
}

// Receives the grabber's frames on the device's streaming thread.
class GrabberCallback final : public ISampleGrabberCB {
public:
    explicit GrabberCallback(std::shared_ptr<Presenter> presenter) : presenter_(std::move(presenter)) {}

    void SetFormat(const SourceFrame& layout) { frame_ = layout; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == IID_IUnknown || iid == __uuidof(ISampleGrabberCB)) {
            *object = static_cast<ISampleGrabberCB*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE SampleCB(double, IMediaSample*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE BufferCB(double, BYTE* buffer, long length) override {
        const auto needed = static_cast<long long>(FrameBytes(frame_.format, frame_.height, frame_.stride));
        if (!buffer || frame_.width <= 0 || frame_.height <= 0 || length < needed) return S_OK;
        SourceFrame frame = frame_;
        frame.pixels = buffer;
        presenter_->Present(frame);
        return S_OK;
    }

private:
    ~GrabberCallback() = default;
    std::atomic<ULONG> references_{1};
    std::shared_ptr<Presenter> presenter_;
    SourceFrame frame_;  // the connected layout; no pixels
};

template <typename T>
ComPtr<T> Create(const CLSID& clsid, const IID& iid) {
    ComPtr<T> object;
    ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, reinterpret_cast<void**>(object.put()));
    return object;
}

template <typename T>
ComPtr<T> Query(IUnknown* from, const IID& iid) {
    ComPtr<T> object;
    if (from) from->QueryInterface(iid, reinterpret_cast<void**>(object.put()));
    return object;
}

// Waits for the stop or the end of the stream (device lost, error); the graph's events are
// taken as they come.
void WaitWhileRunning(IMediaEventEx* events, const StopSignal& stop) {
    HANDLE eventHandle = nullptr;
    if (!events || FAILED(events->GetEventHandle(reinterpret_cast<OAEVENT*>(&eventHandle))) || !eventHandle) {
        ::WaitForSingleObject(stop.Event(), INFINITE);
        return;
    }
    const HANDLE handles[] = {stop.Event(), eventHandle};
    for (;;) {
        if (::WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return;
        long code = 0;
        LONG_PTR first = 0, second = 0;
        while (events->GetEvent(&code, &first, &second, 0) == S_OK) {
            events->FreeEventParams(code, first, second);
            if (code == EC_DEVICE_LOST || code == EC_ERRORABORT || code == EC_COMPLETE || code == EC_USERABORT)
                return;  // the picture stays as it was last
        }
    }
}

// A thread of the multithreaded apartment that waits for the process to end.
DWORD WINAPI HoldApartment(void*) {
    if (SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED))) ::Sleep(INFINITE);
    return 0;
}

// Keeps the process's multithreaded apartment for as long as the process lives. Without it,
// the apartment ends with every capture thread, and COM unloads the device's driver DLL with
// it while the driver still holds state for that thread (a driver built with a static
// runtime keeps a duplicate of the thread's handle and an event, to free when the thread
// ends): one thread handle and one event lost per start and close. Kept, the driver stays
// loaded, as it would in a program that keeps COM up.
void KeepProcessApartment() {
    static const bool kept = [] {
        using IncrementMtaUsage = HRESULT(WINAPI*)(void**);
        if (const HMODULE ole = ::GetModuleHandleW(L"ole32.dll")) {
            const auto increment = reinterpret_cast<IncrementMtaUsage>(
                reinterpret_cast<void*>(::GetProcAddress(ole, "CoIncrementMTAUsage")));
            void* cookie = nullptr;
            if (increment && SUCCEEDED(increment(&cookie))) return true;  // never given back
        }
        // Systems before Windows 8 lack the call: a thread holds the apartment instead.
        const platform::UniqueHandle keeper(::CreateThread(nullptr, 0, &HoldApartment, nullptr, 0, nullptr));
        return keeper.get() != nullptr;
    }();
    (void)kept;
}
}  // namespace

ComApartment::ComApartment() : result_((KeepProcessApartment(), ::CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
ComApartment::~ComApartment() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
}

std::vector<std::wstring> VideoInputNames() {
    std::vector<std::wstring> names;
    ForEachVideoInput([&](int, IMoniker*, const std::wstring& name) {
        names.push_back(name);
        return true;
    });
    return names;
}

void RunDirectShowCamera(int index, const std::wstring& name, const std::shared_ptr<Presenter>& presenter,
                         const StopSignal& stop, const std::shared_ptr<const StopSignal>& previous) {
    if (previous) {
        const HANDLE handles[] = {stop.Event(), previous->Event()};
        if (::WaitForMultipleObjects(2, handles, FALSE, static_cast<DWORD>(kWaitForPreviousDevice.count())) ==
            WAIT_OBJECT_0)
            return;
    }
    ComApartment com;
    ComPtr<IBaseFilter> device = BindVideoInput(index, name);
    auto graph = Create<IGraphBuilder>(CLSID_FilterGraph, IID_IGraphBuilder);
    auto builder = Create<ICaptureGraphBuilder2>(CLSID_CaptureGraphBuilder2, IID_ICaptureGraphBuilder2);
    auto grabberFilter = Create<IBaseFilter>(kSampleGrabber, IID_IBaseFilter);
    auto renderer = Create<IBaseFilter>(kNullRenderer, IID_IBaseFilter);
    auto grabber = Query<ISampleGrabber>(grabberFilter.get(), __uuidof(ISampleGrabber));
    if (!device || !graph || !builder || !grabberFilter || !renderer || !grabber) return;
    if (FAILED(builder->SetFiltergraph(graph.get())) || FAILED(graph->AddFilter(device.get(), L"Camera")) ||
        FAILED(graph->AddFilter(grabberFilter.get(), L"Grabber")) ||
        FAILED(graph->AddFilter(renderer.get(), L"Null renderer")))
        return;
    const std::optional<GUID> deviceSubtype = SetBestDeviceFormat(builder.get(), device.get());

    // An uncompressed format goes straight to the grabber, which takes that subtype alone,
    // so no converter of the system's comes in between: the presenter converts it. Anything
    // else (MJPG), or a device that will not connect that way, goes through the system's
    // decoder or converter to 24-bit RGB.
    const bool direct = deviceSubtype && PixelFormatOf(EncodingOf(*deviceSubtype));
    if (!(direct && Connect(builder.get(), device.get(), grabber.get(), grabberFilter.get(), renderer.get(),
                            *deviceSubtype)) &&
        !Connect(builder.get(), device.get(), grabber.get(), grabberFilter.get(), renderer.get(), MEDIASUBTYPE_RGB24))
        return;
    grabber->SetOneShot(FALSE);
    grabber->SetBufferSamples(FALSE);

    ComPtr<GrabberCallback> callback;
    callback.reset(new GrabberCallback(presenter));
    {
        FilledMediaType connected;
        if (FAILED(grabber->GetConnectedMediaType(&connected.type))) return;
        // What the grabber gets: the device's own format, or the system's RGB24.
        const std::optional<PixelFormat> format = PixelFormatOf(EncodingOf(connected.type.subtype));
        if (const VIDEOINFOHEADER* video = VideoInfo(connected.type); video && format) {
            callback->SetFormat(DescribeFrame(*format, static_cast<int>(video->bmiHeader.biWidth),
                                              static_cast<int>(video->bmiHeader.biHeight)));
        }
    }
    if (FAILED(grabber->SetCallback(callback.get(), 1))) return;

    // Frames as they come, not paced by a clock: the preview wants the newest one.
    if (auto filter = Query<IMediaFilter>(graph.get(), IID_IMediaFilter)) filter->SetSyncSource(nullptr);
    auto control = Query<IMediaControl>(graph.get(), IID_IMediaControl);
    auto events = Query<IMediaEventEx>(graph.get(), IID_IMediaEventEx);
    if (!control || FAILED(control->Run())) {
        grabber->SetCallback(nullptr, 1);
        return;
    }
    WaitWhileRunning(events.get(), stop);
    control->Stop();
    grabber->SetCallback(nullptr, 1);
}

}  // namespace vedio
