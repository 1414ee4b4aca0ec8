#pragma once

#include <functional>
#include <memory>
#include <string>

typedef struct _WebKitWebView WebKitWebView;
class Dialogs;
namespace Gtk { class Overlay; class Window; }

// Part of the WebKit page view: keeps a page in its place. Attach it to a view
// before the page view connects its own handlers: it answers first for
// script boxes, permissions, file requests, new windows, pages' navigations to
// data:/javascript: addresses and to schemes the engine does not handle,
// sign-in prompts and full screen, and lets the rest through.
class WebKitPageGuard
{
public:
    WebKitPageGuard(WebKitWebView *view, Dialogs &dialogs, std::function<Gtk::Window *()> parent,
                    Gtk::Overlay &notices);
    ~WebKitPageGuard();
    WebKitPageGuard(const WebKitPageGuard &) = delete;
    WebKitPageGuard &operator=(const WebKitPageGuard &) = delete;

    // Before a box the page caused (a download's save picker, a certificate
    // prompt): false when the user blocked boxes from this page. From the
    // fourth box in a row it first offers to block them.
    bool mayShowBox();
    // The title of a box a page caused: "<host> says", or "a page says" for an
    // opaque origin.
    std::string boxTitle() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
