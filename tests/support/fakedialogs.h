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
    std::optional<Credentials> credentials(Gtk::Window *, const std::string &title,
                                           const std::string &text) override
    {
        shown.push_back({"credentials", title, text});
        return take(credentialAnswers, std::optional<Credentials>());
    }
    PageBoxAnswer pageBox(Gtk::Window *, PageBoxKind kind, const std::string &title,
                          const std::string &text, const std::string &, bool offerBlock) override
    {
        static const char *const names[] = {"alert", "confirm-page", "prompt", "beforeunload"};
        shown.push_back({names[int(kind)], title, text});
        pageBoxOffers.push_back(offerBlock);
        return take(pageBoxAnswers, PageBoxAnswer{});
    }
    std::vector<std::string> pageOpenFiles(Gtk::Window *, const std::string &title, bool multiple,
                                           bool folder) override
    {
        shown.push_back({folder ? "page-open-folder" : multiple ? "page-open-many" : "page-open",
                         title, ""});
        return take(pageFileAnswers, std::vector<std::string>());
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
    std::vector<bool> pageBoxOffers;
    std::deque<std::string> inputAnswers;
    std::deque<std::optional<std::uint32_t>> colourAnswers;
    std::deque<std::string> fileAnswers;
    std::deque<bool> confirmAnswers;
    std::deque<std::optional<std::string>> favoriteAnswers;
    std::deque<std::optional<Credentials>> credentialAnswers;
    std::deque<PageBoxAnswer> pageBoxAnswers;
    std::deque<std::vector<std::string>> pageFileAnswers;

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
