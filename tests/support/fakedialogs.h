#pragma once

#include "interfaces/dialogs.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

// Scripted answers for every modal; every call is recorded. An empty script
// gives the Cancel answer.
class FakeDialogs : public Dialogs
{
public:
    struct Shown { std::string kind, title, text; };

    void message(Gtk::Window *, const std::string &text, const std::string &title) override
    {
        shown.push_back({"message", title, text});
    }
    std::string input(Gtk::Window *, const std::string &prompt, const std::string &title,
                      const std::string &initialText) override
    {
        shown.push_back({"input", title, prompt});
        inputInitialTexts.push_back(initialText);
        return take(inputAnswers, std::string());
    }
    std::optional<std::uint32_t> pickColour(Gtk::Window *, const std::string &title,
                                            std::uint32_t current) override
    {
        shown.push_back({"colour", title, std::to_string(current)});
        return take(colourAnswers, std::optional<std::uint32_t>());
    }
    std::string openFile(Gtk::Window *, const std::string &filter) override
    {
        shown.push_back({"open", "", filter});
        return take(fileAnswers, std::string());
    }
    std::string saveFile(Gtk::Window *, const std::string &title,
                         const std::string &suggestedPath) override
    {
        shown.push_back({"save", title, suggestedPath});
        return take(fileAnswers, std::string());
    }
    bool confirm(Gtk::Window *, const std::string &text, const std::string &title,
                 const std::string &, const std::string &) override
    {
        shown.push_back({"confirm", title, text});
        return take(confirmAnswers, false);
    }
    std::optional<std::string> favoriteName(Gtk::Window *, const std::string &name,
                                            const std::string &address) override
    {
        shown.push_back({"favorite", name, address});
        return take(favoriteAnswers, std::optional<std::string>());
    }
    // The kinds of box shown, in order ("message", "input", "alert" ...).
    std::vector<std::string> kinds() const
    {
        std::vector<std::string> result;
        for (const Shown &s : shown)
            result.push_back(s.kind);
        return result;
    }

    std::vector<Shown> shown;
    std::vector<std::string> inputInitialTexts;
    std::deque<std::string> inputAnswers;
    std::deque<std::optional<std::uint32_t>> colourAnswers;
    std::deque<std::string> fileAnswers;
    std::deque<bool> confirmAnswers;
    std::deque<std::optional<std::string>> favoriteAnswers;

private:
    template <class T> static T take(std::deque<T> &queue, T fallback)
    {
        if (queue.empty())
            return fallback;
        T value = std::move(queue.front());
        queue.pop_front();
        return value;
    }
};
