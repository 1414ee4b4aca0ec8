#include "pagerules/questionqueue.h"

#include <glibmm/main.h>
#include <sigc++/adaptors/track_obj.h>
#include <sigc++/functors/mem_fun.h>

QuestionQueue::QuestionQueue(PageGuard &guard, QuestionBar &bar, std::function<std::string()> site)
    : m_guard(guard), m_bar(bar), m_site(std::move(site))
{
}

QuestionQueue::~QuestionQueue()
{
    drop(true, true);
}

void QuestionQueue::ask(Request request)
{
    m_waiting.push_back({std::move(request), 0});
    schedule();
}

void QuestionQueue::schedule()
{
    if (m_current || m_waiting.empty() || m_nextIdle.connected())
        return;
    m_nextIdle = Glib::signal_idle().connect(sigc::mem_fun(*this, &QuestionQueue::next));
}

bool QuestionQueue::next()
{
    // Done with: a question that ends unasked has the next one scheduled.
    m_nextIdle.disconnect();
    if (m_current || m_waiting.empty())
        return false;
    m_current = std::make_unique<Item>(std::move(m_waiting.front()));
    m_waiting.pop_front();
    const unsigned turn = m_current->turn = ++m_turns;
    // Held apart: what it calls may end the question, and the request with it.
    const auto ask = m_current->request.question;
    std::optional<Question> question = ask ? ask() : Question();
    if (!m_current || m_current->turn != turn)
        return false;
    if (!question) {
        finish(turn);
        return false;
    }
    if (m_current->request.box) {
        const PageGuard::Box verdict = m_guard.nextBox();
        if (verdict == PageGuard::Box::Refuse) {
            if (const auto refused = finish(turn); refused && refused->request.answered)
                refused->request.answered(refused->request.refusal);
            return false;
        }
        question->offerBlock = verdict == PageGuard::Box::ShowOfferingBlock;
    }
    question->site = m_site ? m_site() : "";
    m_bar.ask(*question, [this, turn](const Answer &answer) { replied(turn, answer); });
    return false;
}

void QuestionQueue::replied(unsigned turn, const Answer &answer)
{
    if (!m_current || m_current->turn != turn)
        return;
    if (answer.blockFurther)
        m_guard.blockBoxes();
    if (answer.accepted && m_current->request.then) {
        // Its window may close long after this queue is gone.
        const sigc::slot<void()> ended = sigc::track_obj([this, turn] { finish(turn); }, *this);
        const auto then = m_current->request.then;
        Close close = then(answer, ended);
        if (m_current && m_current->turn == turn)
            m_close = std::move(close);
        return;
    }
    // Answered: nothing is left to cancel, whatever the answer does.
    const auto answered = finish(turn);
    if (answered->request.answered)
        answered->request.answered(answer);
}

std::unique_ptr<QuestionQueue::Item> QuestionQueue::finish(unsigned turn)
{
    if (!m_current || m_current->turn != turn)
        return nullptr;
    std::unique_ptr<Item> finished = std::move(m_current);
    m_close = nullptr;
    schedule();
    return finished;
}

void QuestionQueue::cancelAll(bool leaving)
{
    drop(leaving, false);
}

void QuestionQueue::drop(bool leaving, bool everything)
{
    std::unique_ptr<Item> current;
    Close close;
    if (m_current && (everything || !m_current->request.outlivesPage)) {
        m_bar.dismiss();
        current = std::move(m_current);
        close = std::move(m_close);
        m_close = nullptr;
    }
    std::deque<Item> dropped, kept;
    for (Item &item : m_waiting)
        (!everything && item.request.outlivesPage ? kept : dropped).push_back(std::move(item));
    m_waiting.swap(kept);
    m_nextIdle.disconnect();
    if (!everything)
        schedule();
    if (close)
        close();
    if (current && current->request.dropped)
        current->request.dropped(leaving);
    for (Item &item : dropped) {
        if (item.request.dropped)
            item.request.dropped(leaving);
    }
}
