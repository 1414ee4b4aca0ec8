#include "window/questionpanel.h"

#include "util/appicon.h"
#include "util/showntext.h"

#include <glibmm/main.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/window.h>
#include <pangomm/attrlist.h>

namespace {

// Longer runs without a space are broken anywhere: breaking them only
// between words takes time that grows with the square of their length.
constexpr std::size_t LongestWord = 200;

bool hasLongWord(const std::string &text)
{
    std::size_t run = 0;
    for (const char *c = text.c_str(); *c; c = g_utf8_next_char(c)) {
        run = g_unichar_isspace(g_utf8_get_char(c)) ? 0 : run + 1;
        if (run > LongestWord)
            return true;
    }
    return false;
}

const char TopRowStyle[] = ".skimlark-question-top { background-color: @theme_selected_bg_color;"
                           " color: @theme_selected_fg_color; border-radius: 6px 6px 0 0; padding: 3px 10px; }"
                           ".skimlark-question-top label { font-weight: bold; }";

} // namespace

QuestionPanel::QuestionPanel() : Gtk::Box(Gtk::ORIENTATION_VERTICAL)
{
    set_valign(Gtk::ALIGN_START);
    set_name("page-question");

    auto style = Gtk::CssProvider::create();
    try {
        style->load_from_data(TopRowStyle);
    } catch (const Glib::Error &) {
        // Drawn in the theme's plain colours: the row is still where no page can draw.
    }
    for (Gtk::Widget *widget : {static_cast<Gtk::Widget *>(&m_top), static_cast<Gtk::Widget *>(&m_site)})
        widget->get_style_context()->add_provider(style, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    m_top.get_style_context()->add_class("skimlark-question-top");
    m_top.set_halign(Gtk::ALIGN_START);
    m_icon.set(appicon::draw(16));
    m_icon.get_accessible()->set_name("Skimlark");
    m_top.pack_start(m_icon, false, false);
    m_top.pack_start(m_site, false, false);
    pack_start(m_top, false, false);
    pack_start(m_bar, false, false);

    m_bar.set_message_type(Gtk::MESSAGE_QUESTION);
    Pango::AttrList bold;
    auto weight = Pango::Attribute::create_attr_weight(Pango::WEIGHT_BOLD);
    bold.insert(weight);
    m_title.set_attributes(bold);
    m_title.set_xalign(0);
    m_title.set_line_wrap(true);
    m_title.set_selectable(false);

    m_text.set_xalign(0);
    m_text.set_yalign(0);
    m_text.set_line_wrap(true);
    m_text.set_selectable(true);
    m_text.set_can_focus(false);
    m_scroller.set_policy(Gtk::POLICY_NEVER, Gtk::POLICY_AUTOMATIC);
    m_scroller.set_propagate_natural_height(true);
    m_scroller.add(m_text);

    m_fields.set_row_spacing(6);
    m_fields.set_column_spacing(8);
    m_userLabel.set_xalign(0);
    m_passwordLabel.set_xalign(0);
    m_field.set_hexpand(true);
    m_password.set_visibility(false);
    m_password.set_input_purpose(Gtk::INPUT_PURPOSE_PASSWORD);
    m_password.get_accessible()->set_name("Password:");
    m_fields.attach(m_userLabel, 0, 0);
    m_fields.attach(m_field, 1, 0);
    m_fields.attach(m_passwordLabel, 0, 1);
    m_fields.attach(m_password, 1, 1);

    m_content.pack_start(m_title, false, false);
    m_content.pack_start(m_scroller, true, true);
    m_content.pack_start(m_fields, false, false);
    m_content.pack_start(m_block, false, false);
    m_content.set_hexpand(true);
    static_cast<Gtk::Container *>(m_bar.get_content_area())->add(m_content);

    // No default button: Enter in a field the user typed in answers, nothing else does.
    m_cancel = m_bar.add_button("Cancel", Gtk::RESPONSE_CANCEL);
    m_accept = m_bar.add_button("OK", Gtk::RESPONSE_OK);
    m_bar.signal_response().connect([this](int response) { answer(response == Gtk::RESPONSE_OK); });
    for (Gtk::Entry *field : {&m_field, &m_password})
        field->signal_activate().connect([this] { answer(true); });
    signal_key_press_event().connect([this](GdkEventKey *event) {
        if (event->keyval != GDK_KEY_Escape || !asking())
            return false;
        answer(false);
        return true;
    }, false);
    // A click anywhere in it is the user moving in: the keyboard may follow.
    m_click = Gtk::GestureMultiPress::create(*this);
    m_click->set_propagation_phase(Gtk::PHASE_CAPTURE);
    m_click->signal_pressed().connect([this](int, double, double) {
        if (asking())
            takeKeys(true);
    });

    show_all();
    set_no_show_all(true);
    hide();
}

void QuestionPanel::ask(const Question &question, Reply reply)
{
    m_reply = std::move(reply);
    m_site.set_text(question.site.empty() ? "Skimlark" : question.site);
    m_bar.set_message_type(question.cancel.empty() ? Gtk::MESSAGE_INFO : Gtk::MESSAGE_QUESTION);
    // After the type, which names the bar after itself.
    m_bar.get_accessible()->set_name(question.title);
    m_title.set_text(question.title);
    // However long the text, it is laid out in about the same time.
    const std::string text = showntext::cut(question.text);
    m_text.set_line_wrap_mode(hasLongWord(text) ? Pango::WRAP_CHAR : Pango::WRAP_WORD_CHAR);
    m_text.set_text(text);
    m_text.get_accessible()->set_name(text);
    m_scroller.set_visible(!text.empty());
    m_scroller.get_vadjustment()->set_value(0);

    const bool signIn = question.fields == Question::Fields::SignIn;
    m_fields.set_visible(question.fields != Question::Fields::None);
    m_userLabel.set_visible(signIn);
    m_passwordLabel.set_visible(signIn);
    m_password.set_visible(signIn);
    m_field.set_text(signIn ? "" : question.initialText);
    m_password.set_text("");
    // A field without a caption is named after what it answers.
    m_field.get_accessible()->set_name(signIn ? "User name:" : text);

    m_block.set_active(false);
    m_block.set_visible(question.offerBlock);
    m_accept->set_label(question.accept);
    m_cancel->set_label(question.cancel.empty() ? "Cancel" : question.cancel);
    m_cancel->set_visible(!question.cancel.empty());
    // Whatever has the keyboard keeps it.
    takeKeys(false);
    holdInput();
    show();
    shown.emit();
}

void QuestionPanel::holdInput()
{
    m_inputTimer.disconnect();
    m_acceptsInput = m_inputDelay.count() <= 0;
    m_accept->set_sensitive(m_acceptsInput);
    m_cancel->set_sensitive(m_acceptsInput);
    if (m_acceptsInput)
        return;
    // Dropped with the panel, should its page go while the question waits.
    m_inputTimer = Glib::signal_timeout().connect(sigc::track_obj([this] {
        m_acceptsInput = true;
        m_accept->set_sensitive(true);
        m_cancel->set_sensitive(true);
        // The user who moved in meanwhile finds the buttons now.
        if (m_scroller.has_focus())
            firstButton().grab_focus();
        return false;
    }, *this), m_inputDelay.count());
}

void QuestionPanel::takeKeys(bool take)
{
    // Not focusable, the question is passed by when Tab leaves the page.
    for (Gtk::Widget *widget : {static_cast<Gtk::Widget *>(&m_scroller), static_cast<Gtk::Widget *>(&m_field),
                                static_cast<Gtk::Widget *>(&m_password),
                                static_cast<Gtk::Widget *>(&m_block), static_cast<Gtk::Widget *>(m_cancel),
                                static_cast<Gtk::Widget *>(m_accept)})
        widget->set_can_focus(take);
}

bool QuestionPanel::letKeysIn()
{
    if (!asking())
        return false;
    takeKeys(true);
    // The first field, or else the first button, or the text while the
    // buttons still wait.
    if (m_fields.get_visible())
        m_field.grab_focus();
    else if (m_acceptsInput)
        firstButton().grab_focus();
    else
        m_scroller.grab_focus();
    return true;
}

Gtk::Button &QuestionPanel::firstButton()
{
    // Cancel where there is one: the answer that lets nothing happen.
    return m_cancel->get_visible() ? *m_cancel : *m_accept;
}

int QuestionPanel::reach() const
{
    int minimum = 0, natural = 0;
    m_top.get_preferred_height(minimum, natural);
    return natural;
}

void QuestionPanel::dismiss()
{
    m_reply = nullptr;
    close();
}

void QuestionPanel::close()
{
    m_inputTimer.disconnect();
    auto *window = dynamic_cast<Gtk::Window *>(get_toplevel());
    Gtk::Widget *focus = window ? window->get_focus() : nullptr;
    const bool hadKeys = focus && focus->is_ancestor(*this);
    hide();
    if (hadKeys)
        keyboardLeft.emit();
}

void QuestionPanel::setMostHeight(int pixels)
{
    if (m_scroller.get_max_content_height() != pixels)
        m_scroller.set_max_content_height(pixels);
}

void QuestionPanel::answer(bool accepted)
{
    if (!m_reply || !m_acceptsInput)
        return;
    Answer result;
    result.accepted = accepted;
    result.text = m_field.get_text();
    result.password = m_password.get_text();
    result.blockFurther = m_block.get_visible() && m_block.get_active();
    Reply reply = std::move(m_reply);
    m_reply = nullptr;
    close();
    // The reply may ask the next question, or take this panel's page away.
    reply(result);
}
