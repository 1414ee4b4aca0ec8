#include "internetsettingspanel.h"

#include "browser/dialogs.h"
#include "browser/pageview.h"
#include "internetsettings.h"
#include "settings/settingsstore.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

InternetSettingsPanel::InternetSettingsPanel(SettingsStore &settings, Dialogs &dialogs,
                                             PageView *view, QWidget *parent)
    : QDialog(parent), m_settings(settings), m_dialogs(dialogs), m_view(view)
{
    setObjectName(QStringLiteral("InternetSettingsPanel"));
    setWindowTitle(tr("Internet Properties"));
    setAccessibleName(tr("Internet Properties"));
    setMinimumWidth(320);

    auto *history = new QGroupBox(tr("Browsing data"), this);
    auto *historyLayout = new QVBoxLayout(history);
    auto *explanation = new QLabel(tr("Cached pages, cookies and the pages visited."), history);
    explanation->setWordWrap(true);
    historyLayout->addWidget(explanation);
    m_delete = new QPushButton(tr("&Delete browsing data"), history);
    m_delete->setObjectName(QStringLiteral("deleteBrowsingData"));
    m_delete->setAccessibleName(tr("Delete browsing data"));
    historyLayout->addWidget(m_delete);
    m_status = new QLabel(history);
    m_status->setObjectName(QStringLiteral("status"));
    historyLayout->addWidget(m_status);

    auto *content = new QGroupBox(tr("Page content"), this);
    auto *contentLayout = new QVBoxLayout(content);
    m_javaScript = new QCheckBox(tr("Enable &JavaScript"), content);
    m_javaScript->setObjectName(QStringLiteral("enableJavaScript"));
    m_javaScript->setAccessibleName(tr("Enable JavaScript"));
    contentLayout->addWidget(m_javaScript);
    m_images = new QCheckBox(tr("Load &images"), content);
    m_images->setObjectName(QStringLiteral("loadImages"));
    m_images->setAccessibleName(tr("Load images"));
    contentLayout->addWidget(m_images);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setAccessibleName(tr("Close"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(history);
    layout->addWidget(content);
    layout->addStretch();
    layout->addWidget(buttons);

    refresh();

    connect(m_javaScript, &QCheckBox::toggled, this, [this](bool on) {
        internetsettings::setJavaScriptEnabled(m_settings, on);
        if (m_view)
            m_view->setJavaScriptEnabled(on);
    });
    connect(m_images, &QCheckBox::toggled, this, [this](bool on) {
        internetsettings::setImagesEnabled(m_settings, on);
        if (m_view)
            m_view->setImagesEnabled(on);
    });
    connect(m_delete, &QPushButton::clicked, this, &InternetSettingsPanel::deleteBrowsingData);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void InternetSettingsPanel::refresh()
{
    const QSignalBlocker jsBlocker(m_javaScript);
    const QSignalBlocker imagesBlocker(m_images);
    m_javaScript->setChecked(internetsettings::javaScriptEnabled(m_settings));
    m_images->setChecked(internetsettings::imagesEnabled(m_settings));
}

void InternetSettingsPanel::showEvent(QShowEvent *event)
{
    refresh();
    m_status->clear();
    QDialog::showEvent(event);
}

void InternetSettingsPanel::deleteBrowsingData()
{
    // Nothing of this can be undone: ask first.
    if (!m_dialogs.confirm(this,
                           tr("Delete the cache, all cookies and the history of visited pages?"),
                           tr("Internet Properties")))
        return;
    if (m_view)
        m_view->clearBrowsingData();
    m_status->setText(tr("Browsing data deleted."));
}
