#pragma once

#include "interfaces/questionbar.h"

#include <string>

typedef struct _WebKitScriptDialog WebKitScriptDialog;

// A box the page's script opened (alert, confirm, prompt, or the question
// whether to leave the page), kept from the engine until it is answered.
// The page's script waits meanwhile; the program does not.
class ScriptBox
{
public:
    explicit ScriptBox(WebKitScriptDialog *box);
    // Answered as cancelled if nobody answered it.
    ~ScriptBox();
    ScriptBox(const ScriptBox &) = delete;
    ScriptBox &operator=(const ScriptBox &) = delete;

    // Whether it asks if the page may be left.
    bool leavesPage() const;
    // What it asks, under `title`, as the page's question area shows it.
    QuestionBar::Question question(const std::string &title) const;
    // `accepted`: OK, or leave the page; `text` the prompt's answer.
    void answer(bool accepted, const std::string &text = std::string());

    // Answers a box the engine has not let go yet, from inside its signal.
    static void answerAtOnce(WebKitScriptDialog *box, bool accepted);
    static bool leavesPage(WebKitScriptDialog *box);

private:
    WebKitScriptDialog *m_box;
};
