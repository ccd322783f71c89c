// The platform's web browser (the WebBrowser control) in a window of ours, hosted through
// plain COM. Nothing outside this file touches the browser's COM interfaces or events: a
// page is asked for with Navigate, and the callback says when its document is ready.
#pragma once

#include "platform/com_ptr.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace ui {

class HtmlViewer {
public:
    // The browser in-place active over the whole client area of `host`. Null when the
    // platform has no browser engine (Wine without its Gecko engine, for one), or the
    // browser refuses to be embedded. Runs on the thread of `host`.
    static std::unique_ptr<HtmlViewer> Create(HWND host, std::function<void()> onDocumentReady);
    ~HtmlViewer();
    HtmlViewer(const HtmlViewer&) = delete;
    HtmlViewer& operator=(const HtmlViewer&) = delete;

    // A file path or a web address; the document-ready callback follows once it is loaded.
    bool Navigate(const std::wstring& pathOrAddress);
    // Fits the browser to the host's client area again.
    void Resize();
    // Gives the keyboard focus to the page.
    void Focus();
    // The browser's own handling of a key message for its page (Tab between its links,
    // its accelerators); true when it took the message.
    bool TranslateKey(MSG& message);

private:
    class Site;
    struct Browser;
    HtmlViewer();
    void Shutdown();

    HWND host_ = nullptr;
    platform::ComPtr<Site> site_;
    std::unique_ptr<Browser> browser_;
};

}  // namespace ui
