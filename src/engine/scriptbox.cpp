#include "engine/scriptbox.h"

#include <webkit2/webkit2.h>

namespace {
const char LeaveQuestion[] = "This page asks whether you want to leave it. What you entered on it may be lost.";
}

ScriptBox::ScriptBox(WebKitScriptDialog *box) : m_box(webkit_script_dialog_ref(box)) {}

ScriptBox::~ScriptBox()
{
    if (m_box)
        answer(false);
}

bool ScriptBox::leavesPage(WebKitScriptDialog *box)
{
    return webkit_script_dialog_get_dialog_type(box) == WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM;
}

bool ScriptBox::leavesPage() const
{
    return leavesPage(m_box);
}

QuestionBar::Question ScriptBox::question(const std::string &title) const
{
    using Question = QuestionBar::Question;
    Question question;
    question.title = title;
    const char *message = webkit_script_dialog_get_message(m_box);
    question.text = message ? message : "";
    switch (webkit_script_dialog_get_dialog_type(m_box)) {
    case WEBKIT_SCRIPT_DIALOG_ALERT:
        break;
    case WEBKIT_SCRIPT_DIALOG_PROMPT: {
        question.fields = Question::Fields::Text;
        const char *initial = webkit_script_dialog_prompt_get_default_text(m_box);
        question.initialText = initial ? initial : "";
        question.cancel = "Cancel";
        break;
    }
    case WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM:
        // The page's own words are not shown here: it could only use them to hold the user.
        question.text = LeaveQuestion;
        question.accept = "Leave";
        question.cancel = "Stay";
        break;
    default:
        question.cancel = "Cancel";
        break;
    }
    return question;
}

void ScriptBox::answerAtOnce(WebKitScriptDialog *box, bool accepted)
{
    switch (webkit_script_dialog_get_dialog_type(box)) {
    case WEBKIT_SCRIPT_DIALOG_CONFIRM:
    case WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM:
        webkit_script_dialog_confirm_set_confirmed(box, accepted);
        break;
    default:
        break;
    }
}

void ScriptBox::answer(bool accepted, const std::string &text)
{
    if (!m_box)
        return;
    answerAtOnce(m_box, accepted);
    if (accepted && webkit_script_dialog_get_dialog_type(m_box) == WEBKIT_SCRIPT_DIALOG_PROMPT)
        webkit_script_dialog_prompt_set_text(m_box, text.c_str());
    webkit_script_dialog_close(m_box);
    webkit_script_dialog_unref(m_box);
    m_box = nullptr;
}
