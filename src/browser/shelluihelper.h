#pragma once

#include <QObject>

class Dialogs;
class QWidget;

// Adds a page to the user's Favorites folder through our add-favourite dialog.
class ShellUIHelper : public QObject
{
    Q_OBJECT
public:
    ShellUIHelper(Dialogs *dialogs, QWidget *owner, QObject *parent = nullptr);

    // False on Cancel or any failure.
    bool addFavorite(const QString &address, const QString &title);

private:
    Dialogs *m_dialogs;
    QWidget *m_owner;
};
