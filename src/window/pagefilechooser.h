#pragma once

#include <functional>
#include <gtkmm/filechooserdialog.h>
#include <gtkmm/label.h>
#include <string>
#include <vector>

// A file chooser for a page's question (files to upload, where to save a
// download), opened once the user said so in the page's question: a window
// of its own beside the main window, which goes on working. It is the
// program's, titled so; its text names the page's host.
class PageFileChooser : public Gtk::FileChooserDialog
{
public:
    PageFileChooser(Gtk::FileChooserAction action, const std::string &text, Gtk::Window *parent);

    // Shows it; `reply` gets the files chosen (none on Cancel).
    void ask(std::function<void(const std::vector<std::string> &files)> reply);

private:
    Gtk::Box m_extra{Gtk::ORIENTATION_VERTICAL, 6};
    Gtk::Label m_text;
};
