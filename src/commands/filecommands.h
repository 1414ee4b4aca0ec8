#pragma once

#include <string>

namespace Gtk { class Window; }
class Dialogs;
class PageView;

// Open, Save, Print, Print Preview and Help: each hands its job to the page
// view. Open and Help say whether they navigated.
class FileCommands
{
public:
    // The file picker's one entry as the menu has always described it: the
    // text shown, a bar, then the patterns.
    static const std::string OpenFilter;

    FileCommands(PageView &view, Dialogs &dialogs, Gtk::Window *parent = nullptr);

    bool open();
    void save();
    void print();
    void printPreview();
    bool showHelp();

private:
    PageView &m_view;
    Dialogs &m_dialogs;
    Gtk::Window *m_parent;
};
