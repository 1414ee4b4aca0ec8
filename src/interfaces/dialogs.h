#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Gtk { class Window; }

// Every modal the program shows goes through here, so tests can script the
// answers and never block on a real dialog. All text is shown as plain text.
// Only the program's own questions are modal: what a page asks is shown in
// the page's own area (the engine's page questions).
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // A modal message box with an OK button only and no icon.
    virtual void message(Gtk::Window *parent, const std::string &text, const std::string &title) = 0;
    // A modal input box; returns "" on Cancel, like the text typed when empty.
    virtual std::string input(Gtk::Window *parent, const std::string &prompt,
                                             const std::string &title,
                                             const std::string &initialText) = 0;
    // The colour picker starting on `current` (a colour number: red in the
    // lowest byte); nullopt on Cancel.
    virtual std::optional<std::uint32_t> pickColour(Gtk::Window *parent, const std::string &title,
                                                    std::uint32_t current) = 0;
    // The file-open picker with one filter entry ("Name|*.a;*.b"); "" on Cancel.
    virtual std::string openFile(Gtk::Window *parent, const std::string &filter) = 0;
    // A save picker that asks before replacing a file; "" on Cancel.
    virtual std::string saveFile(Gtk::Window *parent, const std::string &title,
                                 const std::string &suggestedPath) = 0;
    // A yes/no question; `yes` and `no` label the buttons.
    virtual bool confirm(Gtk::Window *parent, const std::string &text, const std::string &title,
                         const std::string &yes = "_Yes", const std::string &no = "_No") = 0;

    // Our add-favourite dialog: the name (prefilled with `name`) for `address`; nullopt on Cancel.
    virtual std::optional<std::string> favoriteName(Gtk::Window *parent, const std::string &name,
                                                    const std::string &address) = 0;
};
