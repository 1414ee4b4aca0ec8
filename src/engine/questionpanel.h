#pragma once

#include <functional>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/entry.h>
#include <gtkmm/grid.h>
#include <gtkmm/infobar.h>
#include <gtkmm/label.h>
#include <gtkmm/scrolledwindow.h>
#include <sigc++/signal.h>
#include <string>

// A question shown over the page it belongs to, never in a box of its own:
// the rest of the window goes on working while it waits. A line says who
// asks, the text (always plain, cut where it is too long) scrolls, and at most two
// buttons answer it. Esc answers as the cancel button does. It takes no
// access keys: those belong to the window's menus.
class QuestionPanel : public Gtk::InfoBar
{
public:
    struct Question
    {
        std::string title; // who asks: "page.test says", "Skimlark"
        std::string text;
        enum class Fields { None, Text, SignIn } fields = Fields::None;
        std::string initialText;
        std::string accept = "OK";
        std::string cancel; // "" for a question with one button
        bool offerBlock = false;
    };
    struct Answer
    {
        bool accepted = false;
        std::string text; // typed into the text field, or the user name
        std::string password;
        bool blockFurther = false;
    };
    using Reply = std::function<void(const Answer &)>;

    QuestionPanel();

    // Shows the question; `reply` gets the user's answer once.
    void ask(const Question &question, Reply reply);
    // Takes the question away unanswered (whoever asked answers it).
    void dismiss();
    bool asking() const { return bool(m_reply); }
    // The most the text may take before it scrolls, in pixels.
    void setMostHeight(int pixels);

    const Gtk::Label &titleLabel() const { return m_title; }
    const Gtk::Label &textLabel() const { return m_text; }
    Gtk::Entry &textField() { return m_field; }
    Gtk::Entry &passwordField() { return m_password; }
    Gtk::CheckButton &blockChoice() { return m_block; }
    Gtk::Button &acceptButton() { return *m_accept; }
    Gtk::Button &cancelButton() { return *m_cancel; }

    // A question is on show.
    sigc::signal<void()> shown;

private:
    void answer(bool accepted);

    Reply m_reply;
    Gtk::Box m_content{Gtk::ORIENTATION_VERTICAL, 6};
    Gtk::Label m_title;
    Gtk::ScrolledWindow m_scroller;
    Gtk::Label m_text;
    Gtk::Grid m_fields;
    Gtk::Label m_userLabel{"User name:"};
    Gtk::Label m_passwordLabel{"Password:"};
    Gtk::Entry m_field;
    Gtk::Entry m_password;
    Gtk::CheckButton m_block{"Don't let this page show more boxes"};
    Gtk::Button *m_cancel = nullptr;
    Gtk::Button *m_accept = nullptr;
};
