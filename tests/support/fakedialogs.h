#pragma once

#include "browser/dialogs.h"

#include <QList>
#include <QStringList>

// Scripted answers for every modal; every call is recorded.
class FakeDialogs : public Dialogs
{
public:
    struct Message { QString text; QString title; };
    struct Input { QString prompt; QString title; QString initialText; };

    void message(QWidget *, const QString &text, const QString &title) override
    {
        messages.append({text, title});
    }
    QString input(QWidget *, const QString &prompt, const QString &title,
                  const QString &initialText) override
    {
        inputs.append({prompt, title, initialText});
        return inputAnswers.isEmpty() ? QString() : inputAnswers.takeFirst();
    }
    std::optional<QColor> pickColour(QWidget *, const QColor &current) override
    {
        colourPickerStarts.append(current);
        return colourAnswers.isEmpty() ? std::nullopt : colourAnswers.takeFirst();
    }
    QString openFile(QWidget *, const QString &filter) override
    {
        openFilters.append(filter);
        return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    }
    QString saveFile(QWidget *, const QString &title, const QString &suggestedPath) override
    {
        saveRequests.append({title, suggestedPath});
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }
    bool confirm(QWidget *, const QString &text, const QString &title) override
    {
        confirmations.append({text, title});
        return confirmAnswers.isEmpty() ? false : confirmAnswers.takeFirst();
    }
    std::optional<QString> favoriteName(QWidget *, const QString &title,
                                        const QString &address) override
    {
        favoriteRequests.append({title, address});
        return favoriteAnswers.isEmpty() ? std::nullopt : favoriteAnswers.takeFirst();
    }
    std::optional<Credentials> credentials(QWidget *, const QString &site,
                                           const QString &realm) override
    {
        credentialRequests.append({site, realm});
        return credentialAnswers.isEmpty() ? std::nullopt : credentialAnswers.takeFirst();
    }

    QList<Message> messages;
    QList<Input> inputs;
    QStringList inputAnswers;
    QList<QColor> colourPickerStarts;
    QList<std::optional<QColor>> colourAnswers;
    QStringList openFilters;
    QStringList openAnswers;
    QList<QPair<QString, QString>> saveRequests;
    QStringList saveAnswers;
    QList<Message> confirmations;
    QList<bool> confirmAnswers;
    QList<QPair<QString, QString>> favoriteRequests;
    QList<std::optional<QString>> favoriteAnswers;
    QList<QPair<QString, QString>> credentialRequests;
    QList<std::optional<Credentials>> credentialAnswers;
};
