#pragma once

#include <gtkmm/label.h>
#include <sigc++/connection.h>
#include <string>

typedef struct _WebKitWebView WebKitWebView;
typedef struct _GtkWidget GtkWidget;
typedef struct _GdkEventKey GdkEventKey;
namespace Gtk { class Overlay; }

// A page in full screen: a notice over it naming the site and how to leave,
// and Esc that leaves whatever the page does with keys.
class FullScreenNotice
{
public:
    FullScreenNotice(Gtk::Overlay &overlay);
    ~FullScreenNotice();
    FullScreenNotice(const FullScreenNotice &) = delete;
    FullScreenNotice &operator=(const FullScreenNotice &) = delete;

    // The page in `view`, whose host is `host`, went full screen.
    void entered(WebKitWebView *view, const std::string &host);
    void left();
    // The notice while it shows, "" when it does not.
    std::string text() const;

private:
    void watchEscape(GtkWidget *top);
    void unwatchEscape();
    static int onKey(GtkWidget *, GdkEventKey *event, FullScreenNotice *self);

    Gtk::Label m_notice;
    WebKitWebView *m_view = nullptr;
    GtkWidget *m_toplevel = nullptr;
    sigc::connection m_timer;
};
