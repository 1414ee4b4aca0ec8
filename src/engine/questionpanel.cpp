#include "engine/questionpanel.h"

#include "engine/pageguard.h"

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

} // namespace

QuestionPanel::QuestionPanel()
{
    set_message_type(Gtk::MESSAGE_QUESTION);
    set_valign(Gtk::ALIGN_START);
    set_name("page-question");

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
    m_field.set_activates_default(true);
    m_password.set_visibility(false);
    m_password.set_input_purpose(Gtk::INPUT_PURPOSE_PASSWORD);
    m_password.set_activates_default(true);
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
    static_cast<Gtk::Container *>(get_content_area())->add(m_content);

    m_cancel = add_button("Cancel", Gtk::RESPONSE_CANCEL);
    m_accept = add_button("OK", Gtk::RESPONSE_OK);
    m_accept->set_can_default(true);
    signal_response().connect([this](int response) { answer(response == Gtk::RESPONSE_OK); });
    signal_key_press_event().connect([this](GdkEventKey *event) {
        if (event->keyval != GDK_KEY_Escape || !asking())
            return false;
        answer(false);
        return true;
    }, false);

    show_all();
    set_no_show_all(true);
    hide();
}

void QuestionPanel::ask(const Question &question, Reply reply)
{
    m_reply = std::move(reply);
    set_message_type(question.cancel.empty() ? Gtk::MESSAGE_INFO : Gtk::MESSAGE_QUESTION);
    // After the type, which names the bar after itself.
    get_accessible()->set_name(question.title);
    m_title.set_text(question.title);
    // However long the text, it is laid out in about the same time.
    const std::string text = PageGuard::shownText(question.text);
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
    set_default_response(Gtk::RESPONSE_OK);
    show();

    // The keyboard comes here only from the page itself, never from a field
    // of the window the user is typing in.
    auto *window = dynamic_cast<Gtk::Window *>(get_toplevel());
    Gtk::Widget *focus = window ? window->get_focus() : nullptr;
    Gtk::Widget *page = get_parent();
    if (!focus || (page && focus->is_ancestor(*page))) {
        if (question.fields != Question::Fields::None)
            m_field.grab_focus();
        else
            m_accept->grab_focus();
    }
    shown.emit();
}

void QuestionPanel::dismiss()
{
    m_reply = nullptr;
    hide();
}

void QuestionPanel::setMostHeight(int pixels)
{
    if (m_scroller.get_max_content_height() != pixels)
        m_scroller.set_max_content_height(pixels);
}

void QuestionPanel::answer(bool accepted)
{
    if (!m_reply)
        return;
    Answer result;
    result.accepted = accepted;
    result.text = m_field.get_text();
    result.password = m_password.get_text();
    result.blockFurther = m_block.get_visible() && m_block.get_active();
    Reply reply = std::move(m_reply);
    m_reply = nullptr;
    hide();
    // The reply may ask the next question, or take this panel's page away.
    reply(result);
}
