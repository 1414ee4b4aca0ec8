#pragma once

// The real engine behind our page view, in a window, with every request sent
// to the test's loopback server, which fails on anything it did not expect.
#include "engine/engineprofile.h"
#include "engine/webkitpageview.h"
#include "fakedialogs.h"
#include "questionview.h"
#include "testserver.h"
#include "testutil.h"
#include "util/filename.h"

#include <deque>
#include <gtest/gtest.h>
#include <gtk/gtkunixprint.h>
#include <gtkmm.h>
#include <memory>
#include <set>
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

// What the user was asked: `kind` is the panel's buttons ("Cancel|OK") or
// the window's ("files", "save", "print"); the title and the text as shown.
struct Asked
{
    std::string kind, title, text;
    bool operator==(const Asked &other) const
    {
        return kind == other.kind && title == other.title && text == other.text;
    }
};

inline void PrintTo(const Asked &asked, std::ostream *out)
{
    *out << "{" << asked.kind << ", " << asked.title << ", " << asked.text << "}";
}

// How the user answers, in turn; with no answer left, they cancel.
struct Reply
{
    bool accept = false;
    std::string text, password;
    bool block = false;
    std::vector<std::string> files;
    // The user leaves the question open and does something else.
    bool leaveOpen = false;
    // The user reads the question and answers it only once this holds.
    std::function<bool()> waitFor;

    static Reply yes() { return make([](Reply &r) { r.accept = true; }); }
    static Reply no() { return Reply(); }
    static Reply blockingTheRest() { return make([](Reply &r) { r.block = true; }); }
    static Reply typing(const std::string &text)
    {
        return make([&](Reply &r) { r.accept = true; r.text = text; });
    }
    static Reply signingIn(const std::string &user, const std::string &password)
    {
        return make([&](Reply &r) { r.accept = true; r.text = user; r.password = password; });
    }
    static Reply choosing(std::vector<std::string> chosen)
    {
        return make([&](Reply &r) { r.accept = true; r.files = chosen; });
    }
    static Reply leavingOpen() { return make([](Reply &r) { r.leaveOpen = true; }); }

private:
    template <class F> static Reply make(F set)
    {
        Reply reply;
        set(reply);
        return reply;
    }
};

// The user in front of the page's questions: notes each as it shows and
// answers it from the script, as someone clicking would.
class PageUser
{
public:
    void watch(WebKitPageView &view)
    {
        m_panel = &view.questionPanel();
        m_page = &view.widget();
        // Scripted answers need not wait: the wait itself is proved on its own.
        m_panel->setInputDelay(std::chrono::milliseconds(0));
        m_panel->shown.connect([this] { Glib::signal_idle().connect_once([this] { answerPanel(); }); });
        m_poll = Glib::signal_timeout().connect([this] { return lookForWindows(); }, 10);
    }
    ~PageUser()
    {
        m_poll.disconnect();
        m_waiting.disconnect();
    }

    std::deque<Reply> replies;
    std::vector<Asked> asked;
    // The question fitted in the page, per question in turn.
    std::vector<bool> fitted;

private:
    Reply next()
    {
        Reply reply;
        if (!replies.empty()) {
            reply = replies.front();
            replies.pop_front();
        }
        return reply;
    }

    void answerPanel()
    {
        QuestionPanel &panel = *m_panel;
        if (!panel.asking())
            return;
        const QuestionView shown(panel);
        std::string kind = shown.accept().get_label();
        if (shown.cancel().get_visible())
            kind = shown.cancel().get_label() + "|" + kind;
        asked.push_back({kind, shown.title(), shown.text().get_text()});
        // Whether the whole question, its buttons too, lay within the page.
        int x = 0, bottom = 0;
        panel.translate_coordinates(*m_page, 0, panel.get_allocated_height(), x, bottom);
        fitted.push_back(m_page->get_allocated_height() > 1 && bottom <= m_page->get_allocated_height());
        const Reply reply = next();
        if (reply.leaveOpen)
            return;
        if (!reply.waitFor)
            return answer(panel, reply);
        m_waiting = Glib::signal_timeout().connect([this, reply] {
            if (!reply.waitFor())
                return true;
            if (m_panel->asking())
                answer(*m_panel, reply);
            return false;
        }, 10);
    }

    static void answer(QuestionPanel &panel, const Reply &reply)
    {
        const QuestionView shown(panel);
        shown.field().set_text(reply.text.empty() ? shown.field().get_text() : Glib::ustring(reply.text));
        shown.password().set_text(reply.password);
        shown.blockChoice().set_active(reply.block);
        (reply.accept ? shown.accept() : shown.cancel()).clicked();
    }

    bool lookForWindows()
    {
        // One window at a time: answering one may take others away.
        GtkWidget *found = nullptr;
        GList *windows = gtk_window_list_toplevels();
        for (GList *item = windows; item && !found; item = item->next) {
            GtkWidget *window = GTK_WIDGET(item->data);
            if (gtk_widget_get_visible(window) && !m_answered.count(window)
                && (GTK_IS_PRINT_UNIX_DIALOG(window) || GTK_IS_FILE_CHOOSER_DIALOG(window)))
                found = window;
        }
        g_list_free(windows);
        if (!found)
            return true;
        m_answered.insert(found);
        if (GTK_IS_PRINT_UNIX_DIALOG(found)) {
            asked.push_back({"print", gtk_window_get_title(GTK_WINDOW(found)), ""});
            gtk_dialog_response(GTK_DIALOG(found), GTK_RESPONSE_CANCEL);
        } else {
            answerChooser(GTK_FILE_CHOOSER(found));
        }
        return true;
    }

    void answerChooser(GtkFileChooser *chooser)
    {
        AtkObject *accessible = gtk_widget_get_accessible(GTK_WIDGET(chooser));
        const bool save = gtk_file_chooser_get_action(chooser) == GTK_FILE_CHOOSER_ACTION_SAVE;
        asked.push_back({save ? "save" : "files", gtk_window_get_title(GTK_WINDOW(chooser)),
                         atk_object_get_description(accessible) ?: ""});
        const Reply reply = next();
        const std::vector<std::string> files = reply.accept ? reply.files : std::vector<std::string>();
        if (save && !files.empty()) {
            // The chooser reads its folder before it can say where it is, or answer.
            auto offered = std::make_shared<bool>(false);
            Glib::signal_timeout().connect([this, chooser, offered, path = files.front()] {
                if (!*offered) {
                    gchar *folder = gtk_file_chooser_get_current_folder(chooser);
                    gchar *name = gtk_file_chooser_get_current_name(chooser);
                    if (folder)
                        lastSuggested = std::string(folder) + "/" + (name ? name : "");
                    g_free(folder);
                    g_free(name);
                    if (lastSuggested.empty())
                        return true;
                    *offered = true;
                    gtk_file_chooser_set_current_folder(chooser, folderOf(path).c_str());
                    gtk_file_chooser_set_current_name(chooser, fileNameOf(path).c_str());
                }
                gchar *chosen = gtk_file_chooser_get_filename(chooser);
                const bool ready = chosen && path == chosen;
                g_free(chosen);
                if (ready)
                    gtk_dialog_response(GTK_DIALOG(chooser), GTK_RESPONSE_OK);
                return !ready;
            }, 10);
            return;
        }
        if (files.empty()) {
            gtk_dialog_response(GTK_DIALOG(chooser), GTK_RESPONSE_CANCEL);
            return;
        }
        gchar *folder = g_path_get_dirname(files.front().c_str());
        gtk_file_chooser_set_current_folder(chooser, folder);
        // The chooser reads its folder before it can select in it.
        Glib::signal_timeout().connect([chooser, files, folder = std::string(folder), next = std::size_t(0)]() mutable {
            gchar *current = gtk_file_chooser_get_current_folder(chooser);
            const bool there = current && folder == current;
            g_free(current);
            GSList *selected = gtk_file_chooser_get_filenames(chooser);
            const std::size_t got = g_slist_length(selected);
            g_slist_free_full(selected, g_free);
            if (!there || got < next)
                return true;
            // One at a time, each once the last is in.
            if (next < files.size()) {
                gtk_file_chooser_select_filename(chooser, files[next++].c_str());
                return true;
            }
            gtk_dialog_response(GTK_DIALOG(chooser), GTK_RESPONSE_OK);
            return false;
        }, 10);
        g_free(folder);
    }

    QuestionPanel *m_panel = nullptr;
    Gtk::Widget *m_page = nullptr;
    sigc::connection m_waiting;
    sigc::connection m_poll;
    std::set<GtkWidget *> m_answered;

public:
    // Where a save box offered to save, before the user's answer replaced it.
    std::string lastSuggested;
};

// Where downloads are offered, and the hidden files they arrive in there.
inline std::string downloadsFolder()
{
    return std::string(g_get_home_dir()) + "/Downloads";
}
inline std::vector<std::string> arrivingFiles(const std::string &folder)
{
    std::vector<std::string> names;
    for (const std::string &name : testutil::folderEntries(folder)) {
        if (name.find(".part") != std::string::npos)
            names.push_back(name);
    }
    return names;
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
        options.programFolder = programFolder;
        options.filterLists = filterLists;
        profile = std::make_unique<EngineProfile>(options);
        view = std::make_unique<WebKitPageView>(*profile, dialogs);
        user = std::make_unique<PageUser>();
        user->watch(*view);
        window = std::make_unique<Gtk::Window>();
        window->set_default_size(800, 600);
        // As in the main window: controls above the page, and a layer over
        // both where the page's questions are drawn.
        frame = std::make_unique<Frame>();
        window->add(frame->layer);
        frame->layer.add(frame->layout);
        frame->controls.set_size_request(-1, 40);
        frame->layout.pack_start(frame->controls, false, false);
        frame->layout.pack_start(view->widget(), true, true);
        view->showQuestionsOver(frame->layer);
        frame->layer.show_all();
        window->show();
    }

    void close()
    {
        window.reset();
        frame.reset();
        user.reset();
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

    // A click of the user's, near the page's top left corner.
    void click()
    {
        GdkWindow *target = gtk_widget_get_window(GTK_WIDGET(view->engineView()));
        gdk_test_simulate_button(target, 40, 40, 1, GdkModifierType(0), GDK_BUTTON_PRESS);
        gdk_test_simulate_button(target, 40, 40, 1, GdkModifierType(0), GDK_BUTTON_RELEASE);
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
    // The program's helper files: those built beside the program.
    std::string programFolder = folderOf(SKIMLARK_BINARY_PATH);
    // The lists of trackers and ads: none unless the test makes its own.
    std::optional<std::vector<std::string>> filterLists = std::vector<std::string>();
    FakeDialogs dialogs;
    std::unique_ptr<EngineProfile> profile;
    std::unique_ptr<WebKitPageView> view;
    std::unique_ptr<PageUser> user;
    std::unique_ptr<Gtk::Window> window;
    struct Frame
    {
        Gtk::Overlay layer;
        Gtk::Box layout{Gtk::ORIENTATION_VERTICAL};
        Gtk::Toolbar controls;
    };
    std::unique_ptr<Frame> frame;
    std::string skipped;
};

} // namespace enginepage
