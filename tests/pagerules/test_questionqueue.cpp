// The queue of a page's questions without the engine: a scripted user in
// front of a bar that records what it is asked.
#include "pagerules/questionqueue.h"
#include "testutil.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace {

using Question = QuestionQueue::Question;
using Answer = QuestionQueue::Answer;

// The bar over the page: shows one question, and the user answers it.
struct ScriptedBar : QuestionBar
{
    std::vector<Question> asked;
    Reply shown;
    int dismissed = 0;

    void ask(const Question &question, Reply reply) override
    {
        asked.push_back(question);
        shown = std::move(reply);
    }
    void dismiss() override
    {
        shown = nullptr;
        ++dismissed;
    }
    void answer(Answer answer)
    {
        Reply reply = std::move(shown);
        shown = nullptr;
        reply(answer);
    }
};

const Answer Yes{true, "", "", false}, No{}, BlockingTheRest{false, "", "", true};

struct Queue;
struct Row
{
    const char *name;
    std::function<void(Queue &)> act;
    std::vector<std::string> happened; // what became of each question, in order
    std::vector<std::string> shown;    // what the bar showed, in order
};

void PrintTo(const Row &row, std::ostream *out)
{
    *out << row.name;
}

struct Queue : testing::TestWithParam<Row>
{
    PageGuard guard;
    ScriptedBar bar;
    std::vector<std::string> happened;
    // The windows answers opened: the name and what tells the queue it closed.
    std::vector<std::pair<std::string, std::function<void()>>> windows;
    // Last: what it still holds as it goes is dropped into the above.
    std::unique_ptr<QuestionQueue> queue = std::make_unique<QuestionQueue>(guard, bar, [] { return "page.test"; });

    // A question the page asks, named for what it is.
    QuestionQueue::Request request(const std::string &name, bool box = true)
    {
        QuestionQueue::Request request;
        Question question;
        question.title = name;
        request.question = [question] { return question; };
        request.box = box;
        request.answered = [this, name](const Answer &answer) {
            happened.push_back(name + (answer.accepted ? ": yes" : ": no"));
        };
        request.dropped = [this, name](bool leaving) {
            happened.push_back(name + (leaving ? ": dropped, page left" : ": dropped, page kept"));
        };
        return request;
    }
    // One whose accepted answer opens a window of its own.
    QuestionQueue::Request withWindow(const std::string &name)
    {
        QuestionQueue::Request asking = request(name);
        asking.then = [this, name](const Answer &, std::function<void()> ended) {
            windows.push_back({name, ended});
            return [this, name] { happened.push_back(name + ": window closed"); };
        };
        return asking;
    }
    void ask(QuestionQueue::Request request) { queue->ask(std::move(request)); }
    // The user answers the question on show, once there is one.
    void answer(Answer answer)
    {
        ASSERT_TRUE(testutil::spinUntil([this] { return bool(bar.shown); }));
        bar.answer(answer);
    }
    std::vector<bool> offers() const
    {
        std::vector<bool> offered;
        for (const Question &question : bar.asked)
            offered.push_back(question.offerBlock);
        return offered;
    }
};

TEST_P(Queue, AsksOneAtATimeAndAnswersEachOnce)
{
    const Row &row = GetParam();
    row.act(*this);
    // Whatever the queue would still do has happened.
    testutil::spin();
    EXPECT_EQ(happened, row.happened);
    std::vector<std::string> shown;
    for (const Question &question : bar.asked)
        shown.push_back(question.title);
    EXPECT_EQ(shown, row.shown);
}

const Row Rows[] = {
    {"InTheOrderAskedEachFromTheMainLoop",
     [](Queue &t) {
         for (const char *name : {"alert", "sign-in", "print"})
             t.ask(t.request(name));
         // Not inside the engine's call that raised it.
         EXPECT_TRUE(t.bar.asked.empty());
         t.answer(Yes);
         t.answer(No);
         t.answer(Yes);
         for (const Question &question : t.bar.asked)
             EXPECT_EQ(question.site, "page.test");
     },
     {"alert: yes", "sign-in: no", "print: yes"}, {"alert", "sign-in", "print"}},
    // A flood of boxes offers to block the rest from the fourth; once
    // blocked, those that wait are answered as refused, never shown.
    {"FloodIsBlockedFromItsFourthBox",
     [](Queue &t) {
         for (int box = 1; box <= 6; ++box)
             t.ask(t.request("box " + std::to_string(box)));
         for (const Answer &answer : {No, No, No, BlockingTheRest})
             t.answer(answer);
         ASSERT_TRUE(testutil::spinUntil([&t] { return t.happened.size() == 6; }));
         EXPECT_EQ(t.offers(), (std::vector<bool>{0, 0, 0, 1}));
     },
     {"box 1: no", "box 2: no", "box 3: no", "box 4: no", "box 5: no", "box 6: no"},
     {"box 1", "box 2", "box 3", "box 4"}},
    // Not boxes (a permission, another program's address): never counted or refused.
    {"QuestionsThatAreNotBoxesAreAskedOnABlockedPage",
     [](Queue &t) {
         t.guard.blockBoxes();
         t.ask(t.request("camera", false));
         t.answer(Yes);
     },
     {"camera: yes"}, {"camera"}},
    // A page that may show no more boxes cannot keep the user either.
    {"BlockedPageIsLeftWithoutAsking",
     [](Queue &t) {
         t.guard.blockBoxes();
         QuestionQueue::Request leave = t.request("leave");
         leave.refusal.accepted = true;
         t.ask(std::move(leave));
         ASSERT_TRUE(testutil::spinUntil([&t] { return !t.happened.empty(); }));
     },
     {"leave: yes"}, {}},
    // A frame's questions wait behind the page's and count with them, shown
    // beside the site on screen.
    {"FramesQuestionsCountWithThePages",
     [](Queue &t) {
         for (const char *name : {"page alert", "frame sign-in", "frame alert", "frame file"})
             t.ask(t.request(name));
         for (int i = 0; i < 4; ++i)
             t.answer(No);
         EXPECT_EQ(t.offers(), (std::vector<bool>{0, 0, 0, 1}));
         EXPECT_EQ(t.bar.asked.back().site, "page.test");
     },
     {"page alert: no", "frame sign-in: no", "frame alert: no", "frame file: no"},
     {"page alert", "frame sign-in", "frame alert", "frame file"}},
    // Answered while it waited (a permission the user gave meanwhile).
    {"SettledWhileWaitingIsNotAsked",
     [](Queue &t) {
         t.ask(t.request("camera", false));
         QuestionQueue::Request again = t.request("camera again", false);
         again.question = [] { return std::optional<Question>(); };
         t.ask(std::move(again));
         t.ask(t.request("alert"));
         t.answer(Yes);
         t.answer(No);
     },
     {"camera: yes", "alert: no"}, {"camera", "alert"}},
    {"LeavingThePageDropsWhatIsShownAndWhatWaits",
     [](Queue &t) {
         t.ask(t.request("leave"));
         t.ask(t.request("alert"));
         ASSERT_TRUE(testutil::spinUntil([&t] { return bool(t.bar.shown); }));
         t.queue->cancelAll(true);
         EXPECT_FALSE(t.bar.shown);
     },
     {"leave: dropped, page left", "alert: dropped, page left"}, {"leave"}},
    {"StopDropsThemWithThePageKept",
     [](Queue &t) {
         t.ask(t.request("leave"));
         t.ask(t.request("alert"));
         ASSERT_TRUE(testutil::spinUntil([&t] { return bool(t.bar.shown); }));
         t.queue->cancelAll(false);
     },
     {"leave: dropped, page kept", "alert: dropped, page kept"}, {"leave"}},
    {"LeftBeforeItsTurnNothingIsShown",
     [](Queue &t) {
         t.ask(t.request("alert"));
         t.queue->cancelAll(true);
         t.ask(t.request("next page's alert"));
         t.answer(Yes);
     },
     {"alert: dropped, page left", "next page's alert: yes"}, {"next page's alert"}},
    // The answer itself leaves the page: the answered question is not dropped too.
    {"AnswerThatLeavesThePage",
     [](Queue &t) {
         QuestionQueue::Request open = t.request("open");
         open.answered = [&t](const Answer &) {
             t.happened.push_back("open: yes");
             t.queue->cancelAll(true);
         };
         t.ask(std::move(open));
         t.ask(t.request("alert"));
         t.answer(Yes);
     },
     {"open: yes", "alert: dropped, page left"}, {"open"}},
    {"AnswerThatAsksAgain",
     [](Queue &t) {
         QuestionQueue::Request open = t.request("open", false);
         open.answered = [&t](const Answer &) { t.ask(t.request("could not be started", false)); };
         t.ask(std::move(open));
         t.answer(Yes);
         t.answer(Yes);
     },
     {"could not be started: yes"}, {"open", "could not be started"}},
    // A file chooser or the print dialog holds the next question back until it closes.
    {"WindowAnAnswerOpensHoldsTheNextBack",
     [](Queue &t) {
         t.ask(t.withWindow("file"));
         t.ask(t.request("alert"));
         t.answer(Yes);
         ASSERT_EQ(t.windows.size(), 1u);
         testutil::spin();
         EXPECT_EQ(t.bar.asked.size(), 1u);
         t.windows.front().second();
         t.answer(No);
     },
     {"alert: no"}, {"file", "alert"}},
    {"DeclinedItOpensNoWindow",
     [](Queue &t) {
         t.ask(t.withWindow("file"));
         t.answer(No);
         EXPECT_TRUE(t.windows.empty());
     },
     {"file: no"}, {"file"}},
    {"LeavingClosesItsWindow",
     [](Queue &t) {
         t.ask(t.withWindow("print"));
         t.answer(Yes);
         t.queue->cancelAll(true);
     },
     {"print: window closed", "print: dropped, page left"}, {"print"}},
    {"ClosedWhileAsking",
     [](Queue &t) {
         t.ask(t.request("sign-in"));
         t.ask(t.request("alert"));
         ASSERT_TRUE(testutil::spinUntil([&t] { return bool(t.bar.shown); }));
         t.queue.reset();
         EXPECT_FALSE(t.bar.shown);
     },
     {"sign-in: dropped, page left", "alert: dropped, page left"}, {"sign-in"}},
    // The print dialog may close long after its page view has gone.
    {"ClosedWhileItsWindowIsOpen",
     [](Queue &t) {
         t.ask(t.withWindow("print"));
         t.answer(Yes);
         t.queue.reset();
         t.windows.front().second();
     },
     {"print: window closed", "print: dropped, page left"}, {"print"}},
};

INSTANTIATE_TEST_SUITE_P(Questions, Queue, testing::ValuesIn(Rows),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
