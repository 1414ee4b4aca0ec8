#pragma once

#include <QPointer>
#include <QDialog>

class Dialogs;
class PageView;
class QCheckBox;
class QLabel;
class QPushButton;
class SettingsStore;

// Our small Internet settings panel for the page engine: delete browsing data,
// JavaScript and images. Not modal; each change is stored and applied at once.
class InternetSettingsPanel : public QDialog
{
    Q_OBJECT
public:
    InternetSettingsPanel(SettingsStore &settings, Dialogs &dialogs, PageView *view,
                          QWidget *parent = nullptr);

    QCheckBox *javaScriptBox() const { return m_javaScript; }
    QCheckBox *imagesBox() const { return m_images; }
    QPushButton *deleteButton() const { return m_delete; }
    QLabel *statusLabel() const { return m_status; }

    // Shows the stored choices (they may have changed since the panel was last open).
    void refresh();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void deleteBrowsingData();

    SettingsStore &m_settings;
    Dialogs &m_dialogs;
    QPointer<PageView> m_view;
    QCheckBox *m_javaScript = nullptr;
    QCheckBox *m_images = nullptr;
    QPushButton *m_delete = nullptr;
    QLabel *m_status = nullptr;
};
