#pragma once

#include <functional>
#include <string>

// Where a page's questions are put to the user, one at a time: the bar over
// the page, or a test's scripted user.
class QuestionBar
{
public:
    struct Question
    {
        std::string site; // whose page it is, beside the icon: "page.test", "Skimlark"
        std::string title; // who asks: "page.test says", "Skimlark"
        std::string text;
        enum class Fields { None, Text, SignIn } fields = Fields::None;
        std::string initialText;
        std::string accept = "OK";
        std::string cancel; // "" for a question with one button
        bool offerBlock = false;
    };
    struct Answer
    {
        bool accepted = false;
        std::string text; // typed into the text field, or the user name
        std::string password;
        bool blockFurther = false;
    };
    using Reply = std::function<void(const Answer &)>;

    virtual ~QuestionBar() = default;
    // Shows the question; `reply` gets the user's answer once.
    virtual void ask(const Question &question, Reply reply) = 0;
    // Takes the question away unanswered: its reply is never called.
    virtual void dismiss() = 0;
};
