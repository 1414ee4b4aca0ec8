#include "findbar.h"

#include "pageview.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace {
constexpr int Margin = 8;
}

FindBar::FindBar(PageView *view)
    : QWidget(view), m_view(view), m_field(new QLineEdit(this))
{
    setObjectName(QStringLiteral("findBar"));
    setAccessibleName(tr("Find in page"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);

    auto *label = new QLabel(tr("&Find:"), this);
    label->setBuddy(m_field);
    m_field->setObjectName(QStringLiteral("findField"));
    m_field->setAccessibleName(tr("Find:"));
    m_field->setClearButtonEnabled(true);
    m_field->installEventFilter(this);

    auto makeButton = [this](const QString &caption, const QString &name) {
        auto *button = new QToolButton(this);
        button->setText(caption);
        button->setAccessibleName(caption);
        button->setObjectName(name);
        button->setAutoRaise(true);
        return button;
    };
    QToolButton *previous = makeButton(tr("Previous"), QStringLiteral("findPrevious"));
    QToolButton *next = makeButton(tr("Next"), QStringLiteral("findNext"));
    QToolButton *closer = makeButton(tr("Close"), QStringLiteral("findClose"));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 3, 3, 3);
    layout->setSpacing(4);
    layout->addWidget(label);
    layout->addWidget(m_field);
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(closer);

    connect(m_field, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_view->findText(text, false);
    });
    connect(m_field, &QLineEdit::returnPressed, this, [this] {
        findNext(QApplication::keyboardModifiers() & Qt::ShiftModifier);
    });
    connect(previous, &QToolButton::clicked, this, [this] { findNext(true); });
    connect(next, &QToolButton::clicked, this, [this] { findNext(false); });
    connect(closer, &QToolButton::clicked, this, &FindBar::close);

    view->installEventFilter(this);
    hide();
}

void FindBar::open()
{
    placeOverView();
    show();
    raise();
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
}

void FindBar::close()
{
    if (isHidden())
        return;
    hide();
    // An empty search clears what the last one highlighted.
    m_view->findText(QString(), false);
    m_view->takeFocus();
}

bool FindBar::hasFocusInside() const
{
    const QWidget *focus = QApplication::focusWidget();
    return isVisible() && focus && isAncestorOf(focus);
}

void FindBar::findNext(bool backward)
{
    if (!m_field->text().isEmpty())
        m_view->findText(m_field->text(), backward);
}

void FindBar::placeOverView()
{
    adjustSize();
    const int width = qMin(sizeHint().width(), m_view->width());
    resize(width, sizeHint().height());
    move(qMax(0, m_view->width() - width - Margin), Margin);
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::Resize && isVisible())
        placeOverView();
    return QWidget::eventFilter(watched, event);
}
