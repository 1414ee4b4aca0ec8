#include "pagestatus.h"

#include "browser/frmbrowser.h"
#include "browser/makeraddresses.h"
#include "browser/pageview.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLabel>
#include <QTime>
#include <QTimer>

namespace {
enum Panel { Activity = 0, Message = 1, Clock = 2 };
}

PageStatus::PageStatus(frmBrowser &window)
    : QObject(&window), m_window(window)
{
    // Page titles, addresses and link texts come from the web: never markup.
    for (QLabel *panel : window.panels)
        panel->setTextFormat(Qt::PlainText);

    PageView *view = window.WebBrowser1;
    connect(view, &PageView::statusTextChanged, this, &PageStatus::onStatusTextChanged);
    connect(view, &PageView::commandStateChanged, this, &PageStatus::onCommandStateChanged);
    connect(view, &PageView::downloadBegun, this, &PageStatus::onDownloadBegun);
    connect(view, &PageView::downloadComplete, this, &PageStatus::onDownloadComplete);
    connect(view, &PageView::documentComplete, this, &PageStatus::onDocumentComplete);

    // A precise timer keeps the half-second ticks from drifting past a second.
    window.Timer3->setTimerType(Qt::PreciseTimer);
    connect(window.Timer3, &QTimer::timeout, this, &PageStatus::onClockTick);
    if (window.Timer3->isActive())
        window.Timer3->start();
    // Show the time at once rather than half a second after the window opens.
    onClockTick();
}

QString PageStatus::clockFormat(const QLocale &locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        result += c;
    }
    result = result.trimmed();
    if (!result.contains(QLatin1Char('s')))
        result = QStringLiteral("HH:mm:ss");
    return result;
}

void PageStatus::onStatusTextChanged(const QString &text)
{
    m_window.panels[Message]->setText(text);
}

void PageStatus::onCommandStateChanged()
{
    // Only the text changes: the address bar's own commands (Surf) run on
    // Enter or a click, never on a text written from here.
    m_window.Combo1->setEditText(m_window.WebBrowser1->currentAddress());
    // Show the start of a long address, as browsers do, unless the user is typing there.
    if (QLineEdit *edit = m_window.Combo1->lineEdit(); edit && !edit->hasFocus())
        edit->setCursorPosition(0);
}

void PageStatus::onDownloadBegun()
{
    m_window.panels[Activity]->setText(tr("Getting Page..."));
    m_window.panels[Message]->setText(tr("Skimlark is receiving packets..."));
}

void PageStatus::onDownloadComplete()
{
    m_window.panels[Activity]->setText(tr("Got it"));
    m_window.panels[Message]->setText(m_window.WebBrowser1->currentAddress());
    m_window.setWindowTitle(QStringLiteral("Skimlark - ") + m_window.WebBrowser1->currentTitle());
}

void PageStatus::onDocumentComplete()
{
    // An exact match only: any other spelling is a page of its own.
    if (m_window.WebBrowser1->currentAddress() == maker::ReferralAddress)
        m_window.WebBrowser1->navigate(maker::StartPage);
}

void PageStatus::onClockTick()
{
    const QLocale locale;
    m_window.panels[Clock]->setText(locale.toString(QTime::currentTime(), clockFormat(locale)));
}
