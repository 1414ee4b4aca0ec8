#include "shelluihelper.h"

#include "dialogs.h"

ShellUIHelper::ShellUIHelper(Dialogs *dialogs, QWidget *owner, QObject *parent)
    : QObject(parent), m_dialogs(dialogs), m_owner(owner)
{
}

bool ShellUIHelper::addFavorite(const QString &address, const QString &title)
{
    Q_UNUSED(address);
    Q_UNUSED(title);
    return false;
}
