#pragma once

#include <gtkmm/entry.h>
#include <sigc++/trackable.h>

class Dialogs;
class PageView;

// Whether the page on screen is secure, at the start of the address bar: a
// padlock for an https page whose certificate the engine accepted, a "Not
// secure" mark for a plain http page and for one with insecure parts or a
// certificate let through by an exception, nothing for a page not from the
// web. Its tooltip and the name a screen reader reads say the same; a click
// tells who the certificate was issued to and by, and when it is valid.
class SecurityMark : public sigc::trackable
{
public:
    SecurityMark(Gtk::Entry &entry, PageView &view, Dialogs &dialogs);

    // What the mark says ("" when there is none).
    std::string name() const;
    // What a click shows.
    std::string details() const;

    static const std::string Secure;
    static const std::string NotSecure;

private:
    void changed();
    void clicked(Gtk::EntryIconPosition position, const GdkEventButton *event);

    Gtk::Entry &m_entry;
    PageView &m_view;
    Dialogs &m_dialogs;
};
