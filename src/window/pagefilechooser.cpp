#include "window/pagefilechooser.h"

PageFileChooser::PageFileChooser(Gtk::FileChooserAction action, const std::string &text, Gtk::Window *parent)
    : Gtk::FileChooserDialog("Skimlark", action)
{
    m_text.set_text(text);
    m_text.set_xalign(0);
    m_text.set_line_wrap(true);
    m_text.set_max_width_chars(70);
    m_extra.pack_start(m_text, false, false);
    m_extra.show_all();
    set_extra_widget(m_extra);
    get_accessible()->set_name(get_title());
    get_accessible()->set_description(text);
    add_button("_Cancel", Gtk::RESPONSE_CANCEL);
    add_button(action == Gtk::FILE_CHOOSER_ACTION_SAVE ? "_Save" : "_Open", Gtk::RESPONSE_OK);
    set_default_response(Gtk::RESPONSE_OK);
    set_modal(false);
    if (parent)
        set_transient_for(*parent);
}

void PageFileChooser::ask(std::function<void(const std::vector<std::string> &)> reply)
{
    signal_response().connect([this, reply](int response) {
        std::vector<std::string> files;
        if (response == Gtk::RESPONSE_OK)
            files = get_filenames();
        reply(files);
    });
    present();
}
