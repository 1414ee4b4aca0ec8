#include "browser/webkitpageguard.h"

#include <webkit2/webkit2.h>

// Stand-in: lets every box through and names the page's host.
struct WebKitPageGuard::Impl
{
    WebKitWebView *view;
};

WebKitPageGuard::WebKitPageGuard(WebKitWebView *view, Dialogs &, std::function<Gtk::Window *()>,
                                 Gtk::Overlay &)
    : d(new Impl{view})
{
}

WebKitPageGuard::~WebKitPageGuard() = default;

bool WebKitPageGuard::mayShowBox() { return true; }

std::string WebKitPageGuard::boxTitle() const
{
    const char *uri = webkit_web_view_get_uri(d->view);
    GUri *parsed = uri ? g_uri_parse(uri, G_URI_FLAGS_NONE, nullptr) : nullptr;
    const char *host = parsed ? g_uri_get_host(parsed) : nullptr;
    std::string title = host && *host ? std::string(host) + " says" : "a page says";
    if (parsed)
        g_uri_unref(parsed);
    return title;
}
