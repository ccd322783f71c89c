#include "enumerators.h"

#include "com_object.h"

#include <algorithm>
#include <new>

namespace vcam {

namespace {

// An enumerator over a fixed list; `Item` hands one entry to the caller.
template <typename Interface, typename Entry, typename Derived>
class ListEnumerator : public SingleInterfaceObject<Interface, Derived> {
public:
    ListEnumerator(std::vector<Entry> entries, std::size_t next) : entries_(std::move(entries)), next_(next) {}

    template <typename Out>
    HRESULT NextEntries(ULONG count, Out** out, ULONG* fetched) {
        if (!out || (count > 1 && !fetched)) return E_POINTER;
        ULONG given = 0;
        while (given < count && next_ < entries_.size()) {
            out[given] = static_cast<Derived*>(this)->Item(entries_[next_]);
            if (!out[given]) break;
            ++given;
            ++next_;
        }
        if (fetched) *fetched = given;
        return given == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        const std::size_t left = entries_.size() - next_;
        next_ += std::min<std::size_t>(count, left);
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        next_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(Interface** copy) override {
        if (!copy) return E_POINTER;
        *copy = new (std::nothrow) Derived(entries_, next_);
        return *copy ? S_OK : E_OUTOFMEMORY;
    }

protected:
    virtual ~ListEnumerator() = default;
    std::vector<Entry> entries_;

private:
    std::size_t next_;
};

class PinEnumerator final : public ListEnumerator<IEnumPins, IPin*, PinEnumerator> {
public:
    PinEnumerator(std::vector<IPin*> pins, std::size_t next) : ListEnumerator(std::move(pins), next) {
        for (IPin* pin : entries_) pin->AddRef();
    }
    ~PinEnumerator() override {
        for (IPin* pin : entries_) pin->Release();
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, IPin** pins, ULONG* fetched) override {
        return NextEntries(count, pins, fetched);
    }
    IPin* Item(IPin* pin) {
        pin->AddRef();
        return pin;
    }
};

class MediaTypeEnumerator final : public ListEnumerator<IEnumMediaTypes, VideoFormat, MediaTypeEnumerator> {
public:
    using ListEnumerator::ListEnumerator;
    HRESULT STDMETHODCALLTYPE Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override {
        return NextEntries(count, types, fetched);
    }
    AM_MEDIA_TYPE* Item(VideoFormat format) { return MediaType(format).NewCopy(); }
};

}  // namespace

IEnumPins* NewPinEnumerator(IPin* pin) { return new (std::nothrow) PinEnumerator({pin}, 0); }

IEnumMediaTypes* NewMediaTypeEnumerator(std::vector<VideoFormat> formats) {
    return new (std::nothrow) MediaTypeEnumerator(std::move(formats), 0);
}

}  // namespace vcam
