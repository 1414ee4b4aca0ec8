#include "searchbox.h"

#include "browser/frmbrowser.h"
#include "browser/pageview.h"
#include "defaultbuttonrule.h"
#include "enginecatalogue.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

SearchBox::SearchBox(frmBrowser &window, DefaultButtonRule &defaults)
    : QObject(&window), m_window(window), m_defaults(defaults)
{
    setObjectName(QStringLiteral("searchBox"));
    window.Text1->installEventFilter(this);
    connect(window.Command1, &QPushButton::clicked, this, &SearchBox::search);
}

void SearchBox::search()
{
    const QString engine = m_window.settings().read(keys::App, keys::Home, keys::Engine,
                                                    QStringLiteral("google"));
    const QStringList addresses = enginecatalogue::queryAddresses(engine, m_window.Text1->text());
    // For an id with two rows the second request replaces the first.
    for (const QString &address : addresses)
        m_window.WebBrowser1->navigate(address);
}

bool SearchBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window.Text1)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        m_defaults.setDefault(m_window.Command1);
        break;
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (DefaultButtonRule::isEnter(key) && m_defaults.activate())
            return true; // the Enter went to the default button, not the box
        if (!key->text().isEmpty())
            m_defaults.setDefault(m_window.Command1);
        break;
    }
    case QEvent::InputMethod:
        if (!static_cast<QInputMethodEvent *>(event)->commitString().isEmpty())
            m_defaults.setDefault(m_window.Command1);
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
