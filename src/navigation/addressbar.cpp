#include "addressbar.h"

#include "browser/dialogs.h"
#include "browser/frmbrowser.h"
#include "browser/pageview.h"
#include "search/defaultbuttonrule.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"

#include <QComboBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

AddressBar::AddressBar(frmBrowser &window, DefaultButtonRule &defaults)
    : QObject(&window), m_window(window), m_defaults(defaults)
{
    setObjectName(QStringLiteral("addressBar"));
    QComboBox *combo = window.Combo1;
    // Typed text is surfed as typed: no inline completion from the list.
    combo->setCompleter(nullptr);
    combo->installEventFilter(this);
    combo->lineEdit()->installEventFilter(this);
    // The combo box also reports "activated" when editing ends on a text that
    // matches an entry (leaving the field, opening the list). Only a real
    // choice from the list may surf, so that path is cut.
    if (combo->metaObject()->indexOfSlot("_q_editingFinished()") >= 0)
        disconnect(combo->lineEdit(), SIGNAL(editingFinished()), combo, SLOT(_q_editingFinished()));
    connect(window.Command2, &QPushButton::clicked, this, &AddressBar::surf);
    connect(combo, &QComboBox::activated, this, &AddressBar::surf);
}

QString AddressBar::hiddenPhrase()
{
    return QStringLiteral("Copper kettle is brave");
}

void AddressBar::surf()
{
    m_defaults.setDefault(m_window.Command2);
    const QString address = m_window.Combo1->currentText();
    if (address == hiddenPhrase()) {
        m_window.dialogs().message(&m_window, tr("hell yeah"), QStringLiteral("Skimlark"));
        return;
    }
    m_window.WebBrowser1->navigate(address);
    appendVisited(address);
    const QString counter = QString::number(m_window.visitedAddressCounter());
    m_window.settings().write(keys::App, keys::MRURL, counter, address);
    m_window.settings().write(keys::App, keys::CboCount, keys::Count, counter);
}

void AddressBar::appendVisited(const QString &address)
{
    QComboBox *combo = m_window.Combo1;
    // Adding to an empty list would select the entry and replace the typed text.
    const QString typed = combo->currentText();
    const QSignalBlocker blocker(combo);
    combo->addItem(address);
    if (combo->currentText() != typed)
        combo->setEditText(typed);
}

bool AddressBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window.Combo1 && watched != m_window.Combo1->lineEdit())
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        m_defaults.setDefault(m_window.Command2);
        break;
    case QEvent::KeyPress:
        if (handleKey(static_cast<QKeyEvent *>(event)))
            return true;
        break;
    case QEvent::InputMethod:
        if (!static_cast<QInputMethodEvent *>(event)->commitString().isEmpty()
            && m_defaults.defaultButton() == m_window.Command1)
            m_defaults.setDefault(nullptr);
        break;
    case QEvent::Wheel:
        // Scrolling over the bar must not surf through the list.
        if (watched == m_window.Combo1)
            return true;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool AddressBar::handleKey(QKeyEvent *event)
{
    if (DefaultButtonRule::isEnter(event)) {
        if (m_defaults.activate())
            return true;
        // No default button: the Enter reaches the field, which only navigates.
        m_window.WebBrowser1->navigate(m_window.Combo1->currentText());
        return true;
    }
    // A typed character takes the role from "Search"; "Surf" keeps it.
    if (!event->text().isEmpty() && m_defaults.defaultButton() == m_window.Command1)
        m_defaults.setDefault(nullptr);
    return false;
}
