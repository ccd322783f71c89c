#include "ui/html_viewer.h"

#include "platform/com_ptr.h"

#include <exdisp.h>
#include <exdispid.h>
#include <ole2.h>
#include <oleidl.h>

#include <utility>

namespace ui {

namespace {
// The HTML document class of the browser's engine (mshtml).
constexpr CLSID kHtmlDocument{0x25336920, 0x03f9, 0x11cf, {0x8f, 0xd0, 0x00, 0xaa, 0x00, 0x68, 0x6f, 0x13}};

// OLE on the user-interface thread, for the program's life: in-place activation needs it.
bool EnsureOle() {
    struct Apartment {
        HRESULT result = ::OleInitialize(nullptr);
        ~Apartment() {
            if (SUCCEEDED(result)) ::OleUninitialize();
        }
    };
    static const Apartment apartment;
    return SUCCEEDED(apartment.result);
}

// Whether the browser could render a page at all: without its engine the WebBrowser
// object is still created, but stays blank.
bool HasBrowserEngine() {
    platform::ComPtr<IUnknown> document;
    return SUCCEEDED(::CoCreateInstance(kHtmlDocument, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                        reinterpret_cast<void**>(document.put())));
}

RECT ClientOf(HWND window) {
    RECT r{};
    ::GetClientRect(window, &r);
    return r;
}
}  // namespace

// The browser's view of its container: the client site, the in-place site and frame, and
// the sink of its events. Reference counted; the viewer only borrows it.
class HtmlViewer::Site final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame, public IDispatch {
public:
    Site(HWND host, std::function<void()> onDocumentReady) : host_(host), onDocumentReady_(std::move(onDocumentReady)) {}
    void Detach() { onDocumentReady_ = nullptr; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite) *out = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) *out = static_cast<IOleInPlaceSite*>(this);
        else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame) *out = static_cast<IOleInPlaceFrame*>(this);
        else if (iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2) *out = static_cast<IDispatch*>(this);
        else return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP GetContainer(IOleContainer** container) override {
        if (container) *container = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow, shared by the in-place site and frame
    STDMETHODIMP GetWindow(HWND* window) override {
        if (!window) return E_POINTER;
        *window = host_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
        if (frame) {
            *frame = this;
            AddRef();
        }
        if (document) *document = nullptr;
        if (position) *position = ClientOf(host_);
        if (clip) *clip = ClientOf(host_);
        if (info) {
            info->fMDIApp = FALSE;
            info->hwndFrame = ::GetAncestor(host_, GA_ROOT);
            info->haccel = nullptr;
            info->cAccelEntries = 0;
        }
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return S_OK; }
    STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow and IOleInPlaceFrame: no tool space, menus or status bar here.
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IDispatch: the browser's events (DWebBrowserEvents2)
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        if (id == DISPID_DOCUMENTCOMPLETE && onDocumentReady_) {
            AddRef();  // the callback may close the window and the viewer with it
            const auto callback = onDocumentReady_;
            callback();
            Release();
        }
        return S_OK;
    }

private:
    ~Site() = default;
    ULONG references_ = 1;
    HWND host_;
    std::function<void()> onDocumentReady_;
};

struct HtmlViewer::Browser {
    platform::ComPtr<IOleObject> object;
    platform::ComPtr<IWebBrowser2> web;
    platform::ComPtr<IConnectionPoint> events;
    DWORD cookie = 0;
};

std::unique_ptr<HtmlViewer> HtmlViewer::Create(HWND host, std::function<void()> onDocumentReady) {
    if (!host || !EnsureOle() || !HasBrowserEngine()) return nullptr;
    std::unique_ptr<HtmlViewer> viewer(new HtmlViewer());
    viewer->host_ = host;
    viewer->site_.reset(new Site(host, std::move(onDocumentReady)));  // the reference it is born with
    viewer->browser_ = std::make_unique<Browser>();
    Browser& b = *viewer->browser_;

    if (FAILED(::CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                  reinterpret_cast<void**>(b.object.put()))))
        return nullptr;
    auto* site = static_cast<IOleClientSite*>(viewer->site_.get());
    if (FAILED(b.object->SetClientSite(site))) return nullptr;
    RECT area = ClientOf(host);
    if (FAILED(b.object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site, 0, host, &area))) return nullptr;
    if (FAILED(b.object->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(b.web.put())))) return nullptr;

    platform::ComPtr<IConnectionPointContainer> points;
    if (SUCCEEDED(b.object->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(points.put()))) &&
        SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, b.events.put()))) {
        if (FAILED(b.events->Advise(static_cast<IDispatch*>(viewer->site_.get()), &b.cookie))) b.events.reset();
    }
    if (!b.events) return nullptr;  // without its events the page could never be reported ready
    viewer->Resize();
    return viewer;
}

HtmlViewer::HtmlViewer() = default;

HtmlViewer::~HtmlViewer() { Shutdown(); }

void HtmlViewer::Shutdown() {
    if (site_) site_->Detach();  // no event reaches a viewer that is going
    if (browser_) {
        Browser& b = *browser_;
        if (b.events) b.events->Unadvise(b.cookie);
        b.events.reset();
        b.web.reset();
        if (b.object) {
            b.object->Close(OLECLOSE_NOSAVE);
            b.object->SetClientSite(nullptr);
        }
        b.object.reset();
        browser_.reset();
    }
    site_.reset();
}

bool HtmlViewer::Navigate(const std::wstring& pathOrAddress) {
    if (!browser_ || !browser_->web) return false;
    const std::unique_ptr<OLECHAR, decltype(&::SysFreeString)> address(::SysAllocString(pathOrAddress.c_str()),
                                                                        &::SysFreeString);
    if (!address) return false;
    VARIANT empty;
    ::VariantInit(&empty);
    return SUCCEEDED(browser_->web->Navigate(address.get(), &empty, &empty, &empty, &empty));
}

void HtmlViewer::Resize() {
    if (!browser_ || !browser_->object) return;
    platform::ComPtr<IOleInPlaceObject> inPlace;
    if (FAILED(browser_->object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(inPlace.put()))))
        return;
    const RECT area = ClientOf(host_);
    inPlace->SetObjectRects(&area, &area);
}

void HtmlViewer::Focus() {
    if (!browser_ || !browser_->object) return;
    RECT area = ClientOf(host_);
    browser_->object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, static_cast<IOleClientSite*>(site_.get()), 0, host_, &area);
}

bool HtmlViewer::TranslateKey(MSG& message) {
    if (!browser_ || !browser_->web) return false;
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    platform::ComPtr<IOleInPlaceActiveObject> active;
    if (FAILED(browser_->web->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(active.put()))))
        return false;
    return active->TranslateAccelerator(&message) == S_OK;
}

}  // namespace ui
