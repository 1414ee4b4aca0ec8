#pragma once

#include "pagerules/pageguard.h"
#include "interfaces/questionbar.h"

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <sigc++/connection.h>
#include <sigc++/trackable.h>
#include <string>

// The questions a page raises, put to the user one at a time; the others
// wait their turn. Each is asked from the main loop, never inside the
// engine's call that raised it, and comes with what answers it: the queue
// knows nothing of the engine's requests.
class QuestionQueue : public sigc::trackable
{
public:
    using Question = QuestionBar::Question;
    using Answer = QuestionBar::Answer;
    // Closes a window an answer opened, unanswered.
    using Close = std::function<void()>;
    // Opens the window an accepted answer goes on to; see Request::then.
    using Then = std::function<Close(const Answer &, std::function<void()> ended)>;

    struct Request
    {
        // What to ask once its turn comes; nullopt when nothing is left to
        // ask (it was settled while it waited).
        std::function<std::optional<Question>()> question;
        // One of the boxes the page causes: counted, from the fourth in a row
        // it offers to block the rest, and once they are blocked it is
        // answered `refusal` without being shown.
        bool box = true;
        Answer refusal;
        // The user's answer, or the refusal.
        std::function<void(const Answer &)> answered;
        // Where an accepted answer goes on in a window of its own (a file
        // chooser, the print dialog) instead of to `answered`: opens it with
        // `ended`, which it calls once it closes, and returns what closes it
        // unanswered. The next question waits until it has closed.
        Then then;
        // Taken away unanswered, shown or waiting: the page is `leaving`, or
        // it stays (Stop).
        std::function<void(bool leaving)> dropped;
        // Not the page's to take away (a file the user is asked where to
        // keep): cancelAll() leaves it, shown or waiting, its window too; it
        // goes only with the queue.
        bool outlivesPage = false;
    };

    // `site` names the page on screen, as its questions show it ("" for none).
    QuestionQueue(PageGuard &guard, QuestionBar &bar, std::function<std::string()> site);
    // What is asked and what waits is dropped as the page is left.
    ~QuestionQueue();
    QuestionQueue(const QuestionQueue &) = delete;
    QuestionQueue &operator=(const QuestionQueue &) = delete;

    void ask(Request request);
    // A question is shown, or waits.
    bool busy() const { return m_current || !m_waiting.empty(); }
    // Drops what is shown and what waits, and closes a window an answer
    // opened; what outlives the page stays.
    void cancelAll(bool leaving);

private:
    struct Item
    {
        Request request;
        unsigned turn = 0;
    };
    // Drops what cancelAll() drops, or everything.
    void drop(bool leaving, bool everything);
    void schedule();
    bool next();
    void replied(unsigned turn, const Answer &answer);
    // The question of this turn is done: it is let go (returned, for its
    // answer to run) and the next may come. Null when it is not the one shown.
    std::unique_ptr<Item> finish(unsigned turn);

    PageGuard &m_guard;
    QuestionBar &m_bar;
    std::function<std::string()> m_site;
    std::deque<Item> m_waiting;
    std::unique_ptr<Item> m_current;
    Close m_close;
    unsigned m_turns = 0;
    sigc::connection m_nextIdle;
};
