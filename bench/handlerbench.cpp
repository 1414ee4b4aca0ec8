// Times the Search, Surf, tab selection and engine choice handlers on their
// own: a fake page view takes the navigations, so no page ever loads. Prints
// one JSON object of medians in microseconds.
#include "support/testenv.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Timing
{
    double median = 0;
    double p90 = 0;
};

Timing timeHandler(int reps, const std::function<void(int)> &prepare,
                   const std::function<void(int)> &run)
{
    // A few unmeasured calls first, so lazy set-up is not counted.
    for (int i = 0; i < 20; ++i) {
        prepare(i);
        run(i);
    }
    std::vector<double> micros;
    micros.reserve(reps);
    QElapsedTimer clock;
    for (int i = 0; i < reps; ++i) {
        prepare(i);
        clock.start();
        run(i);
        micros.push_back(clock.nsecsElapsed() / 1000.0);
        // Deferred work a handler queued belongs to the next event loop pass,
        // not to the handler; let it run outside the measurement.
        QCoreApplication::processEvents();
    }
    std::sort(micros.begin(), micros.end());
    return {micros[micros.size() / 2], micros[micros.size() * 9 / 10]};
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const int reps = argc > 1 ? std::max(11, atoi(argv[1])) : 1001;

    TestBrowser t;
    t.window->load();
    frmBrowser &w = *t.window;
    w.show();
    QCoreApplication::processEvents();

    const Timing search = timeHandler(
        reps, [&](int i) { w.Text1->setText(QStringLiteral("bench keywords %1").arg(i)); },
        [&](int) { w.Command1->click(); });
    const Timing surf = timeHandler(
        reps, [&](int i) { w.Combo1->setEditText(QStringLiteral("http://bench.test/surf/%1").arg(i)); },
        [&](int) { w.Command2->click(); });
    const Timing tab = timeHandler(
        reps, [&](int) { w.Text1->setText(QStringLiteral("bench keywords")); },
        [&](int i) { w.TabStrip1->select(2 + i % 2); });
    QAction *yahoo = w.menuItem(QStringLiteral("mnuyahoo"));
    QAction *google = w.menuItem(QStringLiteral("mnugoogle"));
    const Timing engine = timeHandler(
        reps, [](int) {}, [&](int i) { (i % 2 ? yahoo : google)->trigger(); });

    QJsonObject result;
    const auto put = [&result](const char *name, const Timing &timing) {
        result.insert(QLatin1String(name), QJsonObject{{QStringLiteral("median_us"), timing.median},
                                                       {QStringLiteral("p90_us"), timing.p90}});
    };
    put("search", search);
    put("surf", surf);
    put("tab", tab);
    put("engine", engine);
    result.insert(QStringLiteral("reps"), reps);
    // Whether the handlers did anything: a stub would leave these at zero.
    result.insert(QStringLiteral("navigations"), int(t.view->navigations.size()));
    result.insert(QStringLiteral("list_entries"), w.Combo1->count());
    std::printf("%s\n", QJsonDocument(result).toJson(QJsonDocument::Compact).constData());
    return 0;
}
