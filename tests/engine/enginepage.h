#pragma once

// The real engine behind our page view, in a window, with every request sent
// to the test's loopback server, which fails on anything it did not expect.
#include "engine/engineprofile.h"
#include "engine/webkitpageview.h"
#include "fakedialogs.h"
#include "testserver.h"
#include "testutil.h"

#include <gtest/gtest.h>
#include <gtkmm.h>
#include <memory>
#include <webkit2/webkit2.h>

// Generated with the resources (C++ linkage: the generated file is compiled as C++).
void skimlark_register_resource();

namespace enginepage {

inline std::string page(const std::string &title, const std::string &body = "")
{
    return "<html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
}

inline TestServer::Response htmlPage(const std::string &title, const std::string &body = "")
{
    return TestServer::Response{200, "text/html", page(title, body), {}};
}

// A fixture's engine: skips the test where the sandbox cannot start.
class EnginePage
{
public:
    // False (and the test skipped) where pages cannot be shown here.
    bool start()
    {
        if (const std::string problem = EngineProfile::probeSandbox(); !problem.empty()) {
            skipped = problem;
            return false;
        }
        static bool registered = false;
        if (!registered)
            skimlark_register_resource();
        registered = true;
        open();
        return true;
    }

    void open()
    {
        EngineProfile::Options options;
        options.proxy = server.proxyAddress();
        profile = std::make_unique<EngineProfile>(options);
        view = std::make_unique<WebKitPageView>(*profile, dialogs);
        window = std::make_unique<Gtk::Window>();
        window->set_default_size(800, 600);
        window->add(view->widget());
        window->show();
    }

    void close()
    {
        window.reset();
        view.reset();
        profile.reset();
        testutil::spin();
    }

    bool waitForTitle(const std::string &title)
    {
        return testutil::spinUntil([&] { return view->currentTitle() == title; });
    }

    bool load(const std::string &address, const std::string &title)
    {
        view->navigate(address);
        return waitForTitle(title);
    }

    // Runs a script in the page's own world and waits for it to end.
    bool runScript(const std::string &script)
    {
        auto done = std::make_shared<bool>(false);
        webkit_web_view_evaluate_javascript(
            view->engineView(), script.c_str(), -1, nullptr, nullptr, nullptr,
            [](GObject *, GAsyncResult *, gpointer data) {
                auto *flag = static_cast<std::shared_ptr<bool> *>(data);
                **flag = true;
                delete flag;
            },
            new std::shared_ptr<bool>(done));
        return testutil::spinUntil([&] { return *done; });
    }

    // Everything the page process did before now has reached the program.
    bool settle()
    {
        const bool answered = runScript("0");
        testutil::spin();
        return answered;
    }

    TestServer server;
    FakeDialogs dialogs;
    std::unique_ptr<EngineProfile> profile;
    std::unique_ptr<WebKitPageView> view;
    std::unique_ptr<Gtk::Window> window;
    std::string skipped;
};

} // namespace enginepage
