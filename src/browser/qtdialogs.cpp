#include "qtdialogs.h"

#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>

void QtDialogs::message(QWidget *parent, const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

QString QtDialogs::input(QWidget *parent, const QString &prompt, const QString &title,
                         const QString &initialText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal,
                                               initialText, &ok);
    return ok ? text : QString();
}

std::optional<QColor> QtDialogs::pickColour(QWidget *parent, const QColor &current)
{
    QColorDialog dialog(current, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

QString QtDialogs::openFile(QWidget *parent, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, tr("Open"), QString(), filter);
}

QString QtDialogs::saveFile(QWidget *parent, const QString &title, const QString &suggestedPath)
{
    // The platform dialog asks before replacing an existing file.
    return QFileDialog::getSaveFileName(parent, title, suggestedPath);
}

bool QtDialogs::confirm(QWidget *parent, const QString &text, const QString &title)
{
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

std::optional<QString> QtDialogs::favoriteName(QWidget *parent, const QString &title,
                                               const QString &address)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(tr("Add Favorite"));
    auto *form = new QFormLayout;
    auto *name = new QLineEdit(title);
    name->setAccessibleName(tr("Name"));
    auto *nameLabel = new QLabel(tr("&Name:"));
    nameLabel->setBuddy(name);
    form->addRow(nameLabel, name);
    auto *addressField = new QLineEdit(address);
    addressField->setReadOnly(true);
    addressField->setAccessibleName(tr("Address"));
    auto *addressLabel = new QLabel(tr("Address:"));
    addressLabel->setBuddy(addressField);
    form->addRow(addressLabel, addressField);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);
    name->selectAll();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return name->text();
}

std::optional<Dialogs::Credentials> QtDialogs::credentials(QWidget *parent, const QString &site,
                                                           const QString &realm)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(tr("Authentication Required"));
    auto *layout = new QVBoxLayout(&dialog);
    // Site and realm come from the network: shown as plain text, never as markup.
    auto *intro = new QLabel;
    intro->setTextFormat(Qt::PlainText);
    intro->setWordWrap(true);
    intro->setText(realm.isEmpty() ? tr("%1 asks for a user name and password.").arg(site)
                                   : tr("%1 asks for a user name and password for \"%2\".")
                                         .arg(site, realm));
    layout->addWidget(intro);
    auto *form = new QFormLayout;
    auto *user = new QLineEdit;
    auto *userLabel = new QLabel(tr("&User name:"));
    userLabel->setBuddy(user);
    form->addRow(userLabel, user);
    auto *password = new QLineEdit;
    password->setEchoMode(QLineEdit::Password);
    auto *passwordLabel = new QLabel(tr("&Password:"));
    passwordLabel->setBuddy(password);
    form->addRow(passwordLabel, password);
    layout->addLayout(form);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return Credentials{user->text(), password->text()};
}
