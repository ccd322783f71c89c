// The virtual camera's one output pin, as a webcam's capture pin behaves: it says it is a
// capture pin, lists its formats and sizes through IAMStreamConfig, connects to an input
// pin on an agreed allocator and, while the graph runs, feeds it from a FrameStream.
#pragma once

#include "frame_stream.h"
#include "media_types.h"
#include "platform/com_ptr.h"

#include <windows.h>
#include <dshow.h>

#include <memory>
#include <optional>

namespace vcam {

class SourceFilter;

class SourcePin final : public IPin, public IKsPropertySet, public IAMStreamConfig {
public:
    explicit SourcePin(SourceFilter& filter);
    ~SourcePin();
    SourcePin(const SourcePin&) = delete;
    SourcePin& operator=(const SourcePin&) = delete;

    // The filter's state changes, under its lock.
    HRESULT Activate();  // stopped -> paused: the allocator committed, the stream started
    void SetRunning(bool running);
    void Deactivate();  // -> stopped

    // IUnknown: one identity with the filter, which owns the pin.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IPin
    HRESULT STDMETHODCALLTYPE Connect(IPin* receiver, const AM_MEDIA_TYPE* type) override;
    HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
    HRESULT STDMETHODCALLTYPE Disconnect() override;
    HRESULT STDMETHODCALLTYPE ConnectedTo(IPin** pin) override;
    HRESULT STDMETHODCALLTYPE ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    HRESULT STDMETHODCALLTYPE QueryPinInfo(PIN_INFO* info) override;
    HRESULT STDMETHODCALLTYPE QueryDirection(PIN_DIRECTION* direction) override;
    HRESULT STDMETHODCALLTYPE QueryId(LPWSTR* id) override;
    HRESULT STDMETHODCALLTYPE QueryAccept(const AM_MEDIA_TYPE* type) override;
    HRESULT STDMETHODCALLTYPE EnumMediaTypes(IEnumMediaTypes** types) override;
    HRESULT STDMETHODCALLTYPE QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EndOfStream() override { return E_UNEXPECTED; }
    HRESULT STDMETHODCALLTYPE BeginFlush() override { return E_UNEXPECTED; }
    HRESULT STDMETHODCALLTYPE EndFlush() override { return E_UNEXPECTED; }
    HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

    // IKsPropertySet: the pin category, read only.
    HRESULT STDMETHODCALLTYPE Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data,
                                  DWORD dataSize, DWORD* returned) override;
    HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

    // IAMStreamConfig
    HRESULT STDMETHODCALLTYPE SetFormat(AM_MEDIA_TYPE* type) override;
    HRESULT STDMETHODCALLTYPE GetFormat(AM_MEDIA_TYPE** type) override;
    HRESULT STDMETHODCALLTYPE GetNumberOfCapabilities(int* count, int* size) override;
    HRESULT STDMETHODCALLTYPE GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) override;

private:
    // The formats offered now: the one set through SetFormat, else all the tests allow.
    std::vector<VideoFormat> Offered() const;
    // Agrees on an allocator with the connected input pin.
    HRESULT AgreeAllocator(IPin* receiver, VideoFormat format);
    HRESULT TryConnect(IPin* receiver, VideoFormat format);
    void ForgetConnection();

    SourceFilter& filter_;
    platform::ComPtr<IPin> connected_;
    platform::ComPtr<IMemInputPin> input_;
    platform::ComPtr<IMemAllocator> allocator_;
    std::optional<VideoFormat> connection_;
    std::optional<VideoFormat> preferred_;
    std::unique_ptr<FrameStream> stream_;
};

}  // namespace vcam
