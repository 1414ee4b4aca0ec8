#pragma once

#include "browser/frmbrowser.h"
#include "fakedialogs.h"
#include "fakepageview.h"
#include "settings/settingsstore.h"

#include <QAction>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// The eighteen engine items of the search engine menu, in menu order.
inline const QStringList EngineItemNames = {
    "mnugotosearch", "mnugoogle", "mnuyahoo", "mnuexcite", "mnulycos", "mnudogpile",
    "mnuwebcrawler", "mnualtavista", "mnuabc", "mnusearchcom", "mnuaskjeeves", "mnuseekways",
    "mnunewscomsearch", "mnucbsnewssearch", "mnufoxnewssearch", "mnucnnnewssearch",
    "mnunbcsearch", "mnudownloadcom"};

// The engine items that carry a check mark, in menu order.
inline QStringList checkedEngineItems(const frmBrowser &window)
{
    QStringList result;
    for (const QString &name : EngineItemNames) {
        if (window.menuItem(name)->isChecked())
            result << name;
    }
    return result;
}

// A main window over a fresh temporary settings store, the fake page view and
// scripted dialogs. Call load() after seeding settings, as start-up does.
struct TestBrowser
{
    TestBrowser()
        : settings(dir.path()), view(new FakePageView),
          window(std::make_unique<frmBrowser>(settings, dialogs, view))
    {
    }
    void seed(const QString &section, const QString &key, const QString &value)
    {
        settings.write(QStringLiteral("Skimlark"), section, key, value);
    }
    QString stored(const QString &section, const QString &key,
                   const QString &fallback = QStringLiteral("<missing>")) const
    {
        return settings.read(QStringLiteral("Skimlark"), section, key, fallback);
    }

    QTemporaryDir dir;
    SettingsStore settings;
    FakeDialogs dialogs;
    FakePageView *view;
    std::unique_ptr<frmBrowser> window;
};
