#pragma once

#include <QColor>
#include <QString>
#include <optional>

class QWidget;

// Every modal the program shows goes through here, so tests can script the
// answers and never block on a real dialog.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // A modal message box with an OK button only and no icon.
    virtual void message(QWidget *parent, const QString &text, const QString &title) = 0;
    // A modal input box; returns the empty string on Cancel, like the text typed when empty.
    virtual QString input(QWidget *parent, const QString &prompt, const QString &title,
                          const QString &initialText) = 0;
    // The colour picker starting on `current`; nullopt on Cancel.
    virtual std::optional<QColor> pickColour(QWidget *parent, const QColor &current) = 0;
    // The file-open picker with one filter entry; the empty string on Cancel.
    virtual QString openFile(QWidget *parent, const QString &filter) = 0;
    // A save picker; the empty string on Cancel.
    virtual QString saveFile(QWidget *parent, const QString &title, const QString &suggestedPath) = 0;
    // A yes/no question (for instance whether to go on past a certificate error).
    virtual bool confirm(QWidget *parent, const QString &text, const QString &title) = 0;

    // Our add-favourite dialog: the name (prefilled with `title`) for `address`; nullopt on Cancel.
    virtual std::optional<QString> favoriteName(QWidget *parent, const QString &title,
                                                const QString &address) = 0;

    struct Credentials { QString user; QString password; };
    // User name and password for a site; nullopt on Cancel.
    virtual std::optional<Credentials> credentials(QWidget *parent, const QString &site,
                                                   const QString &realm) = 0;
};
