#pragma once

#include <atk/atk.h>
#include <gtk/gtk.h>
#include <gtkmm/label.h>
#include <gtkmm/widget.h>
#include <gtkmm/window.h>
#include <string>
#include <vector>

// Widgets found as a user or a screen reader finds them: by the name they are
// read out with, or by their kind. The widgets a container keeps to itself (a
// dialog's buttons, an info bar's content) are searched too.
namespace findwidget {

// `root` and every widget under it, depth first; a menu item's menu counts
// as under it.
inline std::vector<Gtk::Widget *> all(Gtk::Widget &root)
{
    std::vector<Gtk::Widget *> found{&root};
    if (GTK_IS_MENU_ITEM(root.gobj())) {
        if (GtkWidget *menu = gtk_menu_item_get_submenu(GTK_MENU_ITEM(root.gobj()))) {
            for (Gtk::Widget *widget : all(*Glib::wrap(menu)))
                found.push_back(widget);
        }
    }
    if (GTK_IS_CONTAINER(root.gobj())) {
        gtk_container_forall(GTK_CONTAINER(root.gobj()), [](GtkWidget *child, gpointer into) {
            auto &list = *static_cast<std::vector<Gtk::Widget *> *>(into);
            for (Gtk::Widget *widget : all(*Glib::wrap(child)))
                list.push_back(widget);
        }, &found);
    }
    return found;
}

// The name a screen reader reads for the widget ("" for none).
inline std::string nameOf(Gtk::Widget &widget)
{
    const char *name = atk_object_get_name(gtk_widget_get_accessible(widget.gobj()));
    return name ? name : "";
}

// Every widget of kind W under `root`, in order.
template <class W> std::vector<W *> every(Gtk::Widget &root)
{
    std::vector<W *> found;
    for (Gtk::Widget *widget : all(root)) {
        if (auto *wanted = dynamic_cast<W *>(widget))
            found.push_back(wanted);
    }
    return found;
}

// The first widget of kind W under `root` read out as `name`; nullptr if none.
template <class W = Gtk::Widget> W *named(Gtk::Widget &root, const std::string &name)
{
    for (W *widget : every<W>(root)) {
        if (nameOf(*widget) == name)
            return widget;
    }
    return nullptr;
}

// The first widget of kind W under `root` that the program calls `id` (its
// widget name, as a menu item's "mnuopen"); nullptr if none.
template <class W = Gtk::Widget> W *withId(Gtk::Widget &root, const std::string &id)
{
    for (W *widget : every<W>(root)) {
        if (widget->get_name() == id)
            return widget;
    }
    return nullptr;
}

// What the widget read out as `name` says (its labels' texts, one a line),
// "" while it is hidden or not there.
inline std::string shownText(Gtk::Widget &root, const std::string &name)
{
    Gtk::Widget *widget = named(root, name);
    if (!widget || !widget->get_visible())
        return "";
    std::string text;
    for (Gtk::Label *label : every<Gtk::Label>(*widget))
        text += (text.empty() ? "" : "\n") + label->get_text();
    return text;
}

// Like shownText, without the labels of what is hidden inside it (a hidden button's).
inline std::string visibleText(Gtk::Widget &root, const std::string &name)
{
    Gtk::Widget *widget = named(root, name);
    if (!widget || !widget->get_visible())
        return "";
    std::string text;
    for (Gtk::Label *label : every<Gtk::Label>(*widget)) {
        bool visible = true;
        for (Gtk::Widget *up = label; visible && up != widget; up = up->get_parent())
            visible = up->get_visible();
        if (visible)
            text += (text.empty() ? "" : "\n") + label->get_text();
    }
    return text;
}

// The window on screen read out as `name`; nullptr if none shows.
inline Gtk::Window *shownWindow(const std::string &name)
{
    for (Gtk::Window *window : Gtk::Window::list_toplevels()) {
        if (window->get_visible() && nameOf(*window) == name)
            return window;
    }
    return nullptr;
}

} // namespace findwidget
