#include "window/questionpanel.h"

#include "util/appicon.h"
#include "util/showntext.h"

#include <glibmm/main.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/entry.h>
#include <gtkmm/grid.h>
#include <gtkmm/infobar.h>
#include <gtkmm/scrolledwindow.h>
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

struct QuestionPanel::Bar
{
    Gtk::InfoBar bar;
    Gtk::Box content{Gtk::ORIENTATION_VERTICAL, 6};
    Gtk::Label title;
    Gtk::ScrolledWindow scroller;
    Gtk::Label text;
    Gtk::Grid fields;
    Gtk::Label userLabel{"User name:"};
    Gtk::Label passwordLabel{"Password:"};
    Gtk::Entry field;
    Gtk::Entry password;
    Gtk::CheckButton block{"Don't let this page show more boxes"};
    Gtk::Button *cancel = nullptr;
    Gtk::Button *accept = nullptr;

    explicit Bar(QuestionPanel &panel);
};

QuestionPanel::Bar::Bar(QuestionPanel &panel)
{
    bar.set_message_type(Gtk::MESSAGE_QUESTION);
    Pango::AttrList bold;
    auto weight = Pango::Attribute::create_attr_weight(Pango::WEIGHT_BOLD);
    bold.insert(weight);
    title.set_attributes(bold);
    title.set_xalign(0);
    title.set_line_wrap(true);
    title.set_selectable(false);

    text.set_xalign(0);
    text.set_yalign(0);
    text.set_line_wrap(true);
    text.set_selectable(true);
    text.set_can_focus(false);
    scroller.set_policy(Gtk::POLICY_NEVER, Gtk::POLICY_AUTOMATIC);
    scroller.set_propagate_natural_height(true);
    scroller.add(text);

    fields.set_row_spacing(6);
    fields.set_column_spacing(8);
    userLabel.set_xalign(0);
    passwordLabel.set_xalign(0);
    field.set_hexpand(true);
    password.set_visibility(false);
    password.set_input_purpose(Gtk::INPUT_PURPOSE_PASSWORD);
    password.get_accessible()->set_name("Password:");
    fields.attach(userLabel, 0, 0);
    fields.attach(field, 1, 0);
    fields.attach(passwordLabel, 0, 1);
    fields.attach(password, 1, 1);

    content.pack_start(title, false, false);
    content.pack_start(scroller, true, true);
    content.pack_start(fields, false, false);
    content.pack_start(block, false, false);
    content.set_hexpand(true);
    static_cast<Gtk::Container *>(bar.get_content_area())->add(content);

    // No default button: Enter in a field the user typed in answers, nothing else does.
    cancel = bar.add_button("Cancel", Gtk::RESPONSE_CANCEL);
    accept = bar.add_button("OK", Gtk::RESPONSE_OK);
    bar.signal_response().connect([&panel](int response) { panel.answer(response == Gtk::RESPONSE_OK); });
    for (Gtk::Entry *entry : {&field, &password})
        entry->signal_activate().connect([&panel] { panel.answer(true); });
}

QuestionPanel::~QuestionPanel() = default;

QuestionPanel::Bar &QuestionPanel::bar()
{
    if (m_parts)
        return *m_parts;
    m_parts = std::make_unique<Bar>(*this);
    if (m_mostHeight >= 0)
        m_parts->scroller.set_max_content_height(m_mostHeight);
    pack_start(m_parts->bar, false, false);
    m_parts->bar.show_all();
    return *m_parts;
}

void QuestionPanel::ask(const Question &question, Reply reply)
{
    Bar &parts = bar();
    m_reply = std::move(reply);
    m_site.set_text(question.site.empty() ? "Skimlark" : question.site);
    parts.bar.set_message_type(question.cancel.empty() ? Gtk::MESSAGE_INFO : Gtk::MESSAGE_QUESTION);
    // After the type, which names the bar after itself.
    parts.bar.get_accessible()->set_name(question.title);
    parts.title.set_text(question.title);
    // However long the text, it is laid out in about the same time.
    const std::string text = showntext::cut(question.text);
    parts.text.set_line_wrap_mode(hasLongWord(text) ? Pango::WRAP_CHAR : Pango::WRAP_WORD_CHAR);
    parts.text.set_text(text);
    parts.text.get_accessible()->set_name(text);
    parts.scroller.set_visible(!text.empty());
    parts.scroller.get_vadjustment()->set_value(0);

    const bool signIn = question.fields == Question::Fields::SignIn;
    parts.fields.set_visible(question.fields != Question::Fields::None);
    parts.userLabel.set_visible(signIn);
    parts.passwordLabel.set_visible(signIn);
    parts.password.set_visible(signIn);
    parts.field.set_text(signIn ? "" : question.initialText);
    parts.password.set_text("");
    // A field without a caption is named after what it answers.
    parts.field.get_accessible()->set_name(signIn ? "User name:" : text);

    parts.block.set_active(false);
    parts.block.set_visible(question.offerBlock);
    parts.accept->set_label(question.accept);
    parts.cancel->set_label(question.cancel.empty() ? "Cancel" : question.cancel);
    parts.cancel->set_visible(!question.cancel.empty());
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
    m_parts->accept->set_sensitive(m_acceptsInput);
    m_parts->cancel->set_sensitive(m_acceptsInput);
    if (m_acceptsInput)
        return;
    // Dropped with the panel, should its page go while the question waits.
    m_inputTimer = Glib::signal_timeout().connect(sigc::track_obj([this] {
        m_acceptsInput = true;
        m_parts->accept->set_sensitive(true);
        m_parts->cancel->set_sensitive(true);
        // The user who moved in meanwhile finds the buttons now.
        if (m_parts->scroller.has_focus())
            firstButton().grab_focus();
        return false;
    }, *this), m_inputDelay.count());
}

void QuestionPanel::takeKeys(bool take)
{
    if (!m_parts)
        return;
    Bar &parts = *m_parts;
    // Not focusable, the question is passed by when Tab leaves the page.
    for (Gtk::Widget *widget : {static_cast<Gtk::Widget *>(&parts.scroller), static_cast<Gtk::Widget *>(&parts.field),
                                static_cast<Gtk::Widget *>(&parts.password), static_cast<Gtk::Widget *>(&parts.block),
                                static_cast<Gtk::Widget *>(parts.cancel), static_cast<Gtk::Widget *>(parts.accept)})
        widget->set_can_focus(take);
}

bool QuestionPanel::letKeysIn()
{
    if (!asking())
        return false;
    takeKeys(true);
    // The first field, or else the first button, or the text while the
    // buttons still wait.
    if (m_parts->fields.get_visible())
        m_parts->field.grab_focus();
    else if (m_acceptsInput)
        firstButton().grab_focus();
    else
        m_parts->scroller.grab_focus();
    return true;
}

Gtk::Button &QuestionPanel::firstButton()
{
    // Cancel where there is one: the answer that lets nothing happen.
    return m_parts->cancel->get_visible() ? *m_parts->cancel : *m_parts->accept;
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
    m_mostHeight = pixels;
    if (m_parts && m_parts->scroller.get_max_content_height() != pixels)
        m_parts->scroller.set_max_content_height(pixels);
}

void QuestionPanel::answer(bool accepted)
{
    if (!m_reply || !m_acceptsInput)
        return;
    Answer result;
    result.accepted = accepted;
    result.text = m_parts->field.get_text();
    result.password = m_parts->password.get_text();
    result.blockFurther = m_parts->block.get_visible() && m_parts->block.get_active();
    Reply reply = std::move(m_reply);
    m_reply = nullptr;
    close();
    // The reply may ask the next question, or take this panel's page away.
    reply(result);
}
