#pragma once

#include "interfaces/dialogs.h"

#include <functional>

// The real modal dialogs, each run to its answer. Every text is plain text,
// every dialog is named by its title for screen readers.
class GtkDialogs : public Dialogs
{
public:
    // The program is closing: every box now open ends with the answer a
    // closed box gives (Cancel), and any later one gives it at once, unshown.
    static void closeAll();
    // closeAll(), then `close` once every box has returned to its caller, so
    // that nothing holds the window it closes.
    static void closeAllThen(std::function<void()> close);
    // Whether a box is open now.
    static bool anyOpen();
    // Call once at start-up: while a box is open, a close request for another
    // window (the close box of the main window) ends the boxes and then
    // reaches that window, where GTK would drop it.
    static void letCloseRequestsThrough();

    void message(Gtk::Window *parent, const std::string &text, const std::string &title) override;
    std::string input(Gtk::Window *parent, const std::string &prompt, const std::string &title,
                      const std::string &initialText) override;
    std::optional<std::uint32_t> pickColour(Gtk::Window *parent, const std::string &title,
                                            std::uint32_t current) override;
    std::string openFile(Gtk::Window *parent, const std::string &filter) override;
    std::string saveFile(Gtk::Window *parent, const std::string &title,
                         const std::string &suggestedPath) override;
    bool confirm(Gtk::Window *parent, const std::string &text, const std::string &title,
                 const std::string &yes, const std::string &no) override;
    std::optional<std::string> favoriteName(Gtk::Window *parent, const std::string &name,
                                            const std::string &address) override;
};
