#pragma once

#include "interfaces/questionbar.h"

#include <chrono>
#include <functional>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/gesturemultipress.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <memory>
#include <sigc++/connection.h>
#include <sigc++/signal.h>
#include <string>

// A question shown over the page it belongs to, never in a box of its own:
// the rest of the window goes on working while it waits. Its top row, the
// program's icon and the site's name, reaches above the page's top edge over
// the window's own controls, where no page can draw: a copy a page draws of
// it has no such row. Below, in a bar over the page, a line says who asks,
// the text (always plain, cut where it is too long) scrolls, and at most two
// buttons answer it.
//
// It never takes the keyboard from the page or a field: its fields and
// buttons take keys only once the user moves into it (a click in it, or
// letKeysIn()), and its buttons answer nothing for a moment after a question
// appears, so a key or a click meant for the page never answers it. Esc
// answers as the cancel button does. It takes no access keys: those belong
// to the window's menus.
class QuestionPanel : public Gtk::Box, public QuestionBar
{
public:
    // How long the buttons answer nothing after a question appears.
    static constexpr std::chrono::milliseconds InputDelay{1000};

    QuestionPanel();
    ~QuestionPanel() override;

    void ask(const Question &question, Reply reply) override;
    void dismiss() override;
    bool asking() const { return bool(m_reply); }
    // The most the text may take before it scrolls, in pixels.
    void setMostHeight(int pixels);
    // The user moves the keyboard into the question (F6). False when none is asked.
    bool letKeysIn();
    // Another wait than InputDelay (none for a test's scripted user).
    void setInputDelay(std::chrono::milliseconds delay) { m_inputDelay = delay; }
    // How far the top row reaches above the page's top edge, in pixels.
    int reach() const;

    // A question is on show.
    sigc::signal<void()> shown;
    // The question went while the keyboard was in it: it goes back to the page.
    sigc::signal<void()> keyboardLeft;

private:
    void answer(bool accepted);
    void close();
    void takeKeys(bool take);
    void holdInput();
    Gtk::Button &firstButton();

    Reply m_reply;
    std::chrono::milliseconds m_inputDelay = InputDelay;
    bool m_acceptsInput = false;
    sigc::connection m_inputTimer;
    Glib::RefPtr<Gtk::GestureMultiPress> m_click;
    Gtk::Box m_top{Gtk::ORIENTATION_HORIZONTAL, 6};
    Gtk::Image m_icon;
    Gtk::Label m_site;
    // The bar with the question itself, made for the first question: most
    // pages never ask one.
    struct Bar;
    Bar &bar();
    std::unique_ptr<Bar> m_parts;
    int m_mostHeight = -1;
};
