#pragma once

#include "dialogs.h"

#include <QCoreApplication>

// The real modals.
class QtDialogs : public Dialogs
{
    Q_DECLARE_TR_FUNCTIONS(QtDialogs)
public:
    void message(QWidget *parent, const QString &text, const QString &title) override;
    QString input(QWidget *parent, const QString &prompt, const QString &title,
                  const QString &initialText) override;
    std::optional<QColor> pickColour(QWidget *parent, const QColor &current) override;
    QString openFile(QWidget *parent, const QString &filter) override;
    QString saveFile(QWidget *parent, const QString &title, const QString &suggestedPath) override;
    bool confirm(QWidget *parent, const QString &text, const QString &title) override;
    std::optional<QString> favoriteName(QWidget *parent, const QString &title,
                                        const QString &address) override;
    std::optional<Credentials> credentials(QWidget *parent, const QString &site,
                                           const QString &realm) override;
};
