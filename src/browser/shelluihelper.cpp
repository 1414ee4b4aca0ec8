#include "shelluihelper.h"

#include "commands/favoritesfolder.h"
#include "dialogs.h"

ShellUIHelper::ShellUIHelper(Dialogs *dialogs, QWidget *owner, QObject *parent)
    : QObject(parent), m_dialogs(dialogs), m_owner(owner),
      m_folder(favoritesfolder::defaultFolder())
{
}

bool ShellUIHelper::addFavorite(const QString &address, const QString &title)
{
    if (!m_dialogs)
        return false;
    const std::optional<QString> name = m_dialogs->favoriteName(m_owner, title, address);
    if (!name)
        return false;
    return !favoritesfolder::add(m_folder, *name, address).isEmpty();
}
