#pragma once

#include <deque>
#include <functional>
#include <sigc++/sigc++.h>
#include <tuple>
#include <type_traits>
#include <utility>

// A queue that signals can wait in: while held, every emission of the
// HeldSignals that share it is kept, in the order they came, and handOver()
// delivers them to their handlers as they would have been then, then lets
// emissions through. Built for a source that starts before anyone is there
// to show what it says.
class SignalHold
{
public:
    void hold() { m_holding = true; }
    bool holding() const { return m_holding; }

    // Delivers what waited, oldest first; what is emitted meanwhile (by a
    // handler, say) joins the end of the queue, so the order stays whole.
    void handOver()
    {
        if (m_handingOver)
            return;
        m_handingOver = true;
        while (!m_waiting.empty()) {
            auto next = std::move(m_waiting.front());
            m_waiting.pop_front();
            next();
        }
        m_handingOver = false;
        m_holding = false;
    }

    void keep(std::function<void()> emission) { m_waiting.push_back(std::move(emission)); }

private:
    std::deque<std::function<void()>> m_waiting;
    bool m_holding = false;
    bool m_handingOver = false;
};

// A signal whose emissions wait in a SignalHold while it holds. Its handlers
// connect and run as on any signal, just later.
template <class... Args> class HeldSignal : public sigc::signal<void(Args...)>
{
public:
    explicit HeldSignal(SignalHold &hold) : m_hold(hold) {}
    HeldSignal(const HeldSignal &) = delete;
    HeldSignal &operator=(const HeldSignal &) = delete;

    void emit(Args... args)
    {
        if (!m_hold.holding()) {
            sigc::signal<void(Args...)>::emit(args...);
            return;
        }
        m_hold.keep([this, copies = std::make_tuple(std::decay_t<Args>(args)...)] {
            std::apply([this](const auto &...kept) { sigc::signal<void(Args...)>::emit(kept...); }, copies);
        });
    }
    void operator()(Args... args) { emit(args...); }

private:
    SignalHold &m_hold;
};
