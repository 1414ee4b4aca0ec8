#pragma once

#include "interfaces/dialogs.h"

// The real modal dialogs, each run to its answer. Every text is plain text,
// every dialog is named by its title for screen readers.
class GtkDialogs : public Dialogs
{
public:
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
    std::optional<Credentials> credentials(Gtk::Window *parent, const std::string &title,
                                           const std::string &text) override;
    PageBoxAnswer pageBox(Gtk::Window *parent, PageBoxKind kind, const std::string &title,
                          const std::string &text, const std::string &defaultText,
                          bool offerBlock) override;
    std::vector<std::string> pageOpenFiles(Gtk::Window *parent, const std::string &title,
                                           bool multiple, bool folder) override;
};
