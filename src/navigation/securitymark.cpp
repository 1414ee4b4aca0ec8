#include "navigation/securitymark.h"

#include "interfaces/dialogs.h"
#include "interfaces/pageview.h"
#include "util/later.h"

#include <atk/atk.h>
#include <gtkmm/window.h>

const std::string SecurityMark::Secure = "Secure connection";
const std::string SecurityMark::NotSecure = "Not secure";

namespace {
constexpr auto Place = Gtk::ENTRY_ICON_PRIMARY;
}

SecurityMark::SecurityMark(Gtk::Entry &entry, PageView &view, Dialogs &dialogs)
    : m_entry(entry), m_view(view), m_dialogs(dialogs)
{
    view.securityChanged.connect(sigc::mem_fun(*this, &SecurityMark::changed));
    // On the press: the only signal an assistive tool's action sends.
    entry.signal_icon_press().connect(sigc::mem_fun(*this, &SecurityMark::clicked));
}

std::string SecurityMark::name() const
{
    switch (m_view.security().level) {
    case PageView::Security::Level::Secure:
        return Secure;
    case PageView::Security::Level::NotSecure:
        return NotSecure;
    default:
        return std::string();
    }
}

void SecurityMark::changed()
{
    const std::string text = name();
    if (text.empty()) {
        m_entry.unset_icon(Place);
        return;
    }
    m_entry.set_icon_from_icon_name(text == Secure ? "channel-secure-symbolic" : "channel-insecure-symbolic", Place);
    m_entry.set_icon_tooltip_text(text, Place);
    m_entry.set_icon_activatable(true, Place);
    // The icon's own accessible would be read by its icon's file name.
    AtkObject *field = gtk_widget_get_accessible(GTK_WIDGET(m_entry.gobj()));
    if (AtkObject *icon = field ? atk_object_ref_accessible_child(field, 0) : nullptr) {
        atk_object_set_name(icon, text.c_str());
        atk_object_set_description(icon, (text + ": click for the site's certificate").c_str());
        g_object_unref(icon);
    }
}

std::string SecurityMark::details() const
{
    const PageView::Security security = m_view.security();
    const std::string site = security.host.empty() ? "this site" : security.host;
    std::string text = security.level == PageView::Security::Level::Secure
                           ? "The connection to " + site + " is secure: what you send and receive cannot be read or "
                                                           "changed on the way."
                           : site + " is not secure: " + security.problem
                                 + ". Do not enter passwords or card numbers on this page.";
    if (!security.issuedTo.empty() || !security.issuedBy.empty()) {
        text += "\n\nCertificate\nIssued to: " + security.issuedTo + "\nIssued by: " + security.issuedBy
                + "\nValid from: " + security.validFrom + "\nValid until: " + security.validUntil;
    }
    return text;
}

void SecurityMark::clicked(Gtk::EntryIconPosition position, const GdkEventButton *)
{
    if (position != Place || name().empty())
        return;
    // Once the press has returned: an assistive tool that pressed can answer the box.
    runLater(*this, [this, text = details(), title = name()] {
        m_dialogs.message(dynamic_cast<Gtk::Window *>(m_entry.get_toplevel()), text, title);
    });
}
