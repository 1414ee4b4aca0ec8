#include "shortcutswiring.h"

#include "browser/findbar.h"
#include "browser/frmbrowser.h"
#include "browser/pageview.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QShortcut>

namespace {
QShortcut *addKey(frmBrowser &window, const QKeySequence &key, const char *name)
{
    auto *shortcut = new QShortcut(key, &window);
    shortcut->setObjectName(QString::fromLatin1(name));
    return shortcut;
}

// The key runs exactly what a click on the toolbar button runs.
void keyForButton(frmBrowser &window, const QKeySequence &key, const QString &button)
{
    QShortcut *shortcut = addKey(window, key, "buttonKey");
    QObject::connect(shortcut, &QShortcut::activated, &window, [&window, button] {
        if (QAction *action = window.toolbarButton(button))
            action->trigger();
    });
}
} // namespace

void wireShortcuts(frmBrowser &window)
{
    keyForButton(window, QKeySequence(Qt::ALT | Qt::Key_Left), QStringLiteral("back"));
    keyForButton(window, QKeySequence(Qt::ALT | Qt::Key_Right), QStringLiteral("forward"));
    keyForButton(window, QKeySequence(Qt::Key_F5), QStringLiteral("refresh"));
    keyForButton(window, QKeySequence(Qt::CTRL | Qt::Key_R), QStringLiteral("refresh"));
    keyForButton(window, QKeySequence(Qt::ALT | Qt::Key_Home), QStringLiteral("home"));

    // The menu shows these keys beside Open, Save and Print.
    const std::pair<const char *, QKeySequence> menuKeys[] = {
        {"mnuopen", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"mnusave", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"mnuprint", QKeySequence(Qt::CTRL | Qt::Key_P)},
    };
    for (const auto &[item, key] : menuKeys) {
        if (QAction *action = window.menuItem(QString::fromLatin1(item)))
            action->setShortcut(key);
    }

    QObject::connect(addKey(window, QKeySequence(Qt::CTRL | Qt::Key_L), "addressKey"),
                     &QShortcut::activated, &window, [&window] {
                         window.Combo1->setFocus(Qt::ShortcutFocusReason);
                         window.Combo1->lineEdit()->selectAll();
                     });
    QObject::connect(addKey(window, QKeySequence(Qt::CTRL | Qt::Key_K), "searchKey"),
                     &QShortcut::activated, &window, [&window] {
                         window.Text1->setFocus(Qt::ShortcutFocusReason);
                         window.Text1->selectAll();
                     });

    auto *findBar = new FindBar(window.WebBrowser1);
    QObject::connect(addKey(window, QKeySequence(Qt::CTRL | Qt::Key_F), "findKey"),
                     &QShortcut::activated, findBar, &FindBar::open);
    // Esc closes the find bar while it is being typed in, and stops the page otherwise.
    QObject::connect(addKey(window, QKeySequence(Qt::Key_Escape), "escapeKey"),
                     &QShortcut::activated, &window, [&window, findBar] {
                         if (findBar->hasFocusInside()) {
                             findBar->close();
                         } else if (QAction *stop = window.toolbarButton(QStringLiteral("stop"))) {
                             stop->trigger();
                         }
                     });

    PageView *view = window.WebBrowser1;
    for (const QKeySequence &key : {QKeySequence(Qt::CTRL | Qt::Key_Plus),
                                    QKeySequence(Qt::CTRL | Qt::Key_Equal)}) {
        QObject::connect(addKey(window, key, "zoomInKey"), &QShortcut::activated, view,
                         [view] { view->zoomBy(1); });
    }
    QObject::connect(addKey(window, QKeySequence(Qt::CTRL | Qt::Key_Minus), "zoomOutKey"),
                     &QShortcut::activated, view, [view] { view->zoomBy(-1); });
    QObject::connect(addKey(window, QKeySequence(Qt::CTRL | Qt::Key_0), "zoomResetKey"),
                     &QShortcut::activated, view, [view] { view->resetZoom(); });
}
