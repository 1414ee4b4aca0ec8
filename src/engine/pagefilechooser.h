#pragma once

#include <functional>
#include <gtkmm/checkbutton.h>
#include <gtkmm/filechooserdialog.h>
#include <gtkmm/label.h>
#include <string>
#include <vector>

// A file chooser for a page's question (files to upload, where to save a
// download): a window of its own beside the main window, which goes on
// working. It is the program's, titled so; its text names the page's host.
class PageFileChooser : public Gtk::FileChooserDialog
{
public:
    // `offerBlock` adds the choice to stop the page's further boxes.
    PageFileChooser(Gtk::FileChooserAction action, const std::string &text, bool offerBlock, Gtk::Window *parent);

    // Shows it; `reply` gets the files chosen (none on Cancel) and whether
    // the user blocked the page's further boxes.
    void ask(std::function<void(const std::vector<std::string> &files, bool block)> reply);

private:
    Gtk::Box m_extra{Gtk::ORIENTATION_VERTICAL, 6};
    Gtk::Label m_text;
    Gtk::CheckButton m_block{"Don't let this page show more boxes"};
};
