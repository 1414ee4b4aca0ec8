#include "fakepageview.h"

void FakePageView::navigate(const QString &target)
{
    navigations << target;
    calls << QStringLiteral("navigate:") + target;
}

void FakePageView::showHtml(const QString &html, const QString &baseAddress)
{
    lastHtml = html;
    calls << QStringLiteral("showHtml:") + baseAddress;
}

bool FakePageView::goBack()
{
    calls << QStringLiteral("back");
    if (m_index <= 0)
        return false;
    address = m_history.at(--m_index);
    return true;
}

bool FakePageView::goForward()
{
    calls << QStringLiteral("forward");
    if (m_index < 0 || m_index + 1 >= m_history.size())
        return false;
    address = m_history.at(++m_index);
    return true;
}

void FakePageView::findText(const QString &text, bool backward)
{
    calls << QStringLiteral("find:%1:%2").arg(text).arg(backward ? 1 : 0);
}

void FakePageView::finishLoad(const QString &pageTitle)
{
    const QString target = navigations.isEmpty() ? QString() : navigations.constLast();
    Q_EMIT downloadBegun();
    m_history = m_history.mid(0, m_index + 1);
    m_history << target;
    m_index = m_history.size() - 1;
    address = target;
    title = pageTitle;
    Q_EMIT commandStateChanged(-1, true);
    Q_EMIT downloadComplete();
    Q_EMIT documentComplete(target);
}
