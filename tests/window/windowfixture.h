#pragma once

#include "window/frmbrowser.h"
#include "settings/settingsstore.h"
#include "fakedialogs.h"
#include "fakepageview.h"
#include "testutil.h"

#include <glib.h>
#include <gtest/gtest.h>
#include <memory>

// A main window over fakes and a settings store in a fresh folder.
struct WindowFixture : testing::Test
{
    WindowFixture() : root(g_dir_make_tmp("skimlark-window-XXXXXX", nullptr)), settings(root) {}
    ~WindowFixture() override { window.reset(); }

    void seed(const std::string &section, const std::string &key, const std::string &value)
    {
        ASSERT_TRUE(settings.write("Skimlark", section, key, value));
    }
    frmBrowser &build()
    {
        window = std::make_unique<frmBrowser>(settings, dialogs, view);
        return *window;
    }
    frmBrowser &loaded()
    {
        build().load();
        return *window;
    }
    frmBrowser &shown()
    {
        loaded().show();
        EXPECT_TRUE(testutil::spinUntil([this] { return window->get_mapped(); }));
        testutil::spin();
        return *window;
    }

    std::string root;
    SettingsStore settings;
    FakeDialogs dialogs;
    FakePageView view;
    std::unique_ptr<frmBrowser> window;
};
