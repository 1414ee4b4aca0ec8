#pragma once

#include "findwidget.h"

#include <gtkmm.h>
#include <string>
#include <vector>

// The question over the page as its user meets it: its parts found in the
// panel by the names a screen reader reads and by what each part is.
class QuestionView
{
public:
    explicit QuestionView(Gtk::Widget &panel) : m_panel(panel) {}

    // The program's icon and the site's name above the page's top edge.
    Gtk::Image &icon() const { return *findwidget::named<Gtk::Image>(m_panel, "Skimlark"); }
    Gtk::Widget &topRow() const { return *icon().get_parent(); }
    std::string site() const { return findwidget::every<Gtk::Label>(topRow()).at(0)->get_text(); }
    // A question's bar is on the screen (the bar is made for the first question).
    bool showing() const
    {
        const auto bars = findwidget::every<Gtk::InfoBar>(m_panel);
        return !bars.empty() && bars[0]->get_mapped();
    }
    // The bar over the page, read out as who asks.
    Gtk::InfoBar &bar() const { return *findwidget::every<Gtk::InfoBar>(m_panel).at(0); }
    std::string title() const { return findwidget::nameOf(bar()); }
    // The page's text, as the question shows it.
    Gtk::Label &text() const
    {
        return *findwidget::every<Gtk::Label>(*findwidget::every<Gtk::ScrolledWindow>(bar()).at(0)).at(0);
    }
    // The text field (or the user name), and the password.
    Gtk::Entry &field() const
    {
        std::vector<Gtk::Entry *> fields;
        for (Gtk::Entry *entry : findwidget::every<Gtk::Entry>(bar())) {
            if (findwidget::nameOf(*entry) != "Password:")
                fields.push_back(entry);
        }
        return *fields.at(0);
    }
    Gtk::Entry &password() const { return *findwidget::named<Gtk::Entry>(bar(), "Password:"); }
    Gtk::CheckButton &blockChoice() const
    {
        return *findwidget::named<Gtk::CheckButton>(bar(), "Don't let this page show more boxes");
    }
    // The bar's two buttons: cancel (hidden for a question with one button)
    // and accept.
    Gtk::Button &cancel() const { return button(1); }
    Gtk::Button &accept() const { return button(0); }

private:
    // The buttons in the bar's action area, as GTK lists them: the one added
    // last (accept) first.
    Gtk::Button &button(int index) const
    {
        std::vector<Gtk::Button *> buttons;
        for (Gtk::Button *button : findwidget::every<Gtk::Button>(*Glib::wrap(gtk_info_bar_get_action_area(bar().gobj())))) {
            if (!button->get_label().empty())
                buttons.push_back(button);
        }
        return *buttons.at(index);
    }

    Gtk::Widget &m_panel;
};
