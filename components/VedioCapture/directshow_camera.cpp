#include "directshow_camera.h"

#include "capture_format.h"
#include "platform/com_ptr.h"

#include <dshow.h>
#include <qedit.h>

#include <atomic>
#include <vector>

namespace vedio {

namespace {
using platform::ComPtr;

// The sample grabber and the null renderer ship with DirectShow (qedit.dll); their class
// identifiers are not in every SDK's headers.
constexpr CLSID kSampleGrabber{0xC1F400A0, 0x3F08, 0x11d3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
constexpr CLSID kNullRenderer{0xC1F400A4, 0x3F08, 0x11d3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
constexpr auto kWaitForPreviousDevice = std::chrono::milliseconds(3000);

void FreeMediaType(AM_MEDIA_TYPE* type) {
    if (!type) return;
    if (type->cbFormat && type->pbFormat) ::CoTaskMemFree(type->pbFormat);
    if (type->pUnk) type->pUnk->Release();
    ::CoTaskMemFree(type);
}

struct MediaTypeOwner {
    void operator()(AM_MEDIA_TYPE* type) const { FreeMediaType(type); }
};
using UniqueMediaType = std::unique_ptr<AM_MEDIA_TYPE, MediaTypeOwner>;

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

// Sets the capture pin to the best size the device offers; the device's default stays
// when it offers nothing readable.
void ChooseDeviceFormat(ICaptureGraphBuilder2* builder, IBaseFilter* device) {
    ComPtr<IAMStreamConfig> config;
    if (FAILED(builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, device, IID_IAMStreamConfig,
                                      reinterpret_cast<void**>(config.put()))))
        return;
    int count = 0, capsSize = 0;
    if (FAILED(config->GetNumberOfCapabilities(&count, &capsSize)) || capsSize != sizeof(VIDEO_STREAM_CONFIG_CAPS))
        return;
    std::vector<UniqueMediaType> types;
    std::vector<FrameSize> sizes;
    for (int i = 0; i < count; ++i) {
        AM_MEDIA_TYPE* raw = nullptr;
        VIDEO_STREAM_CONFIG_CAPS caps{};
        if (FAILED(config->GetStreamCaps(i, &raw, reinterpret_cast<BYTE*>(&caps))) || !raw) continue;
        UniqueMediaType type(raw);
        if (type->formattype != FORMAT_VideoInfo || type->cbFormat < sizeof(VIDEOINFOHEADER) || !type->pbFormat)
            continue;
        const auto* video = reinterpret_cast<const VIDEOINFOHEADER*>(type->pbFormat);
        sizes.push_back({static_cast<int>(video->bmiHeader.biWidth), std::abs(static_cast<int>(video->bmiHeader.biHeight))});
        types.push_back(std::move(type));
    }
    const auto best = ChooseFrameSize(sizes);
    if (!best) return;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        if (sizes[i] == *best) {
            config->SetFormat(types[i].get());
            return;
        }
    }
}

// Receives the grabber's frames on the device's streaming thread.
class GrabberCallback final : public ISampleGrabberCB {
public:
    explicit GrabberCallback(std::shared_ptr<Presenter> presenter) : presenter_(std::move(presenter)) {}

    void SetFormat(int width, int height, bool bottomUp) {
        frame_.width = width;
        frame_.height = height;
        frame_.bottomUp = bottomUp;
        frame_.stride = DibStride(width, 24);
    }

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
        const auto needed = static_cast<long long>(frame_.stride) * frame_.height;
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
    SourceFrame frame_{nullptr, 0, 0, 0, PixelFormat::Bgr24, true};
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
}  // namespace

ComApartment::ComApartment() : result_(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
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
    ChooseDeviceFormat(builder.get(), device.get());

    // The grabber asks for 24-bit RGB; DirectShow puts a decoder or converter in between.
    AM_MEDIA_TYPE wanted{};
    wanted.majortype = MEDIATYPE_Video;
    wanted.subtype = MEDIASUBTYPE_RGB24;
    wanted.formattype = FORMAT_VideoInfo;
    grabber->SetMediaType(&wanted);
    grabber->SetOneShot(FALSE);
    grabber->SetBufferSamples(FALSE);
    if (FAILED(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, device.get(), grabberFilter.get(),
                                     renderer.get())))
        return;

    AM_MEDIA_TYPE connected{};
    if (FAILED(grabber->GetConnectedMediaType(&connected))) return;
    ComPtr<GrabberCallback> callback;
    callback.reset(new GrabberCallback(presenter));
    if (connected.formattype == FORMAT_VideoInfo && connected.cbFormat >= sizeof(VIDEOINFOHEADER) && connected.pbFormat) {
        const auto& header = reinterpret_cast<const VIDEOINFOHEADER*>(connected.pbFormat)->bmiHeader;
        callback->SetFormat(static_cast<int>(header.biWidth), std::abs(static_cast<int>(header.biHeight)),
                            header.biHeight > 0);
    }
    if (connected.cbFormat && connected.pbFormat) ::CoTaskMemFree(connected.pbFormat);
    if (connected.pUnk) connected.pUnk->Release();
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
