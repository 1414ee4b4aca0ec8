#include "engine/fullscreennotice.h"

#include "engine/scriptworld.h"

#include <glibmm/main.h>
#include <gtkmm/overlay.h>
#include <webkit2/webkit2.h>

namespace {
const char Notice[] = "Press Esc to leave full screen";
} // namespace

FullScreenNotice::FullScreenNotice(Gtk::Overlay &overlay)
{
    m_notice.set_name("fullscreen-notice");
    m_notice.get_accessible()->set_name("Full screen");
    m_notice.set_halign(Gtk::ALIGN_CENTER);
    m_notice.set_valign(Gtk::ALIGN_START);
    m_notice.set_margin_top(24);
    m_notice.set_justify(Gtk::JUSTIFY_CENTER);
    m_notice.get_style_context()->add_class("app-notification");
    m_notice.set_no_show_all(true);
    overlay.add_overlay(m_notice);
}

FullScreenNotice::~FullScreenNotice()
{
    m_timer.disconnect();
    unwatchEscape();
}

void FullScreenNotice::entered(WebKitWebView *view, const std::string &host)
{
    m_view = view;
    watchEscape(gtk_widget_get_toplevel(GTK_WIDGET(view)));
    m_notice.set_text((host.empty() ? std::string() : host + "\n") + Notice);
    m_notice.show();
    m_timer.disconnect();
    m_timer = Glib::signal_timeout().connect(
        [this] {
            m_notice.hide();
            return false;
        },
        4000);
}

void FullScreenNotice::left()
{
    m_timer.disconnect();
    m_notice.hide();
    unwatchEscape();
    m_view = nullptr;
}

std::string FullScreenNotice::text() const
{
    return m_notice.get_visible() ? std::string(m_notice.get_text()) : std::string();
}

void FullScreenNotice::watchEscape(GtkWidget *top)
{
    if (top == m_toplevel || !GTK_IS_WINDOW(top))
        return;
    unwatchEscape();
    m_toplevel = top;
    g_object_add_weak_pointer(G_OBJECT(m_toplevel), reinterpret_cast<gpointer *>(&m_toplevel));
    g_signal_connect(m_toplevel, "key-press-event", G_CALLBACK(onKey), this);
}

void FullScreenNotice::unwatchEscape()
{
    if (!m_toplevel)
        return;
    g_signal_handlers_disconnect_by_data(m_toplevel, this);
    g_object_remove_weak_pointer(G_OBJECT(m_toplevel), reinterpret_cast<gpointer *>(&m_toplevel));
    m_toplevel = nullptr;
}

int FullScreenNotice::onKey(GtkWidget *, GdkEventKey *event, FullScreenNotice *self)
{
    if (!self->m_view || event->keyval != GDK_KEY_Escape)
        return FALSE;
    self->m_timer.disconnect();
    self->m_notice.hide();
    webkit_web_view_evaluate_javascript(self->m_view, "document.exitFullscreen()", -1, OurScriptWorld, nullptr, nullptr,
                                        nullptr, nullptr);
    return TRUE;
}
