#include "pagejobs.h"

#include "dialogs.h"

#include <QWebEngineView>

PageJobs::PageJobs(QWebEngineView *view, Dialogs *dialogs, QObject *parent)
    : QObject(parent), m_view(view), m_dialogs(dialogs)
{
}

bool PageJobs::print()
{
    return false;
}

bool PageJobs::printPreview()
{
    return false;
}

bool PageJobs::saveAs()
{
    return false;
}
