#include "engine/contentblocking.h"

#include "pagerules/filterlists.h"
#include "util/tracked.h"

#include <sys/prctl.h>
#include <csignal>
#include <webkit2/webkit2.h>

namespace {
const char IdentifierPrefix[] = "trackers-";
using Owner = Tracked<ContentBlocking>;
} // namespace

ContentBlocking::ContentBlocking(Options options)
    : m_options(std::move(options))
{
}

ContentBlocking::~ContentBlocking()
{
    if (m_cancellable) {
        g_cancellable_cancel(m_cancellable);
        g_object_unref(m_cancellable);
    }
    if (m_compile) {
        // What it had done is of no use half made; the next start compiles again.
        g_subprocess_force_exit(m_compile);
        g_subprocess_wait(m_compile, nullptr, nullptr);
        g_object_unref(m_compile);
    }
    if (m_filter)
        webkit_user_content_filter_unref(m_filter);
    if (m_store)
        g_object_unref(m_store);
}

void ContentBlocking::start()
{
    if (m_started)
        return;
    m_started = true;
    m_lists = m_options.lists ? *m_options.lists : filterlists::find();
    if (m_lists.empty()) {
        m_status.lists = PageView::Blocking::Lists::Missing;
        changed.emit();
        return;
    }
    m_status.lists = PageView::Blocking::Lists::Preparing;
    m_cancellable = g_cancellable_new();
    m_store = webkit_user_content_filter_store_new(m_options.storeFolder.c_str());
    changed.emit();

    // Lists nobody wrote since the last start hold what they held: their key
    // is taken from then, and no start reads them.
    m_signature = filterlists::signature(m_lists);
    GKeyFile *known = g_key_file_new();
    if (g_key_file_load_from_file(known, signaturePath().c_str(), G_KEY_FILE_NONE, nullptr)) {
        gchar *signature = g_key_file_get_string(known, "Lists", "Signature", nullptr);
        gchar *key = g_key_file_get_string(known, "Lists", "Key", nullptr);
        const bool same = signature && key && !m_signature.empty() && m_signature == signature;
        const std::string found = key ? key : "";
        g_free(signature);
        g_free(key);
        if (same) {
            g_key_file_free(known);
            return keyFound(found);
        }
    }
    g_key_file_free(known);

    // What the lists hold is read off the main loop: they are megabytes.
    GTask *task = g_task_new(nullptr, m_cancellable,
                             [](GObject *, GAsyncResult *result, gpointer data) {
                                 auto *key = static_cast<std::string *>(
                                     g_task_propagate_pointer(G_TASK(result), nullptr));
                                 if (ContentBlocking *self = Owner::take(data))
                                     self->keyRead(key ? *key : std::string());
                                 delete key;
                             },
                             Owner::hold(*this));
    g_task_set_task_data(task, new std::vector<std::string>(m_lists),
                         [](gpointer lists) { delete static_cast<std::vector<std::string> *>(lists); });
    g_task_run_in_thread(task, [](GTask *task, gpointer, gpointer lists, GCancellable *) {
        const auto key = filterlists::contentKey(*static_cast<std::vector<std::string> *>(lists));
        g_task_return_pointer(task, new std::string(key),
                              [](gpointer key) { delete static_cast<std::string *>(key); });
    });
    g_object_unref(task);
}

void ContentBlocking::keyRead(const std::string &key)
{
    if (!key.empty() && !m_signature.empty() && g_mkdir_with_parents(m_options.storeFolder.c_str(), 0700) == 0) {
        GKeyFile *known = g_key_file_new();
        g_key_file_set_string(known, "Lists", "Signature", m_signature.c_str());
        g_key_file_set_string(known, "Lists", "Key", key.c_str());
        g_key_file_save_to_file(known, signaturePath().c_str(), nullptr);
        g_key_file_free(known);
    }
    keyFound(key);
}

void ContentBlocking::keyFound(const std::string &key)
{
    if (key.empty())
        return fail("the lists cannot be read");
    m_identifier = IdentifierPrefix + key.substr(0, 32);
    webkit_user_content_filter_store_load(
        m_store, m_identifier.c_str(), m_cancellable,
        [](GObject *store, GAsyncResult *result, gpointer data) {
            WebKitUserContentFilter *filter = webkit_user_content_filter_store_load_finish(
                WEBKIT_USER_CONTENT_FILTER_STORE(store), result, nullptr);
            if (ContentBlocking *self = Owner::take(data))
                self->loaded(filter);
            else if (filter)
                webkit_user_content_filter_unref(filter);
        },
        Owner::hold(*this));
}

void ContentBlocking::loaded(WebKitUserContentFilter *filter)
{
    GKeyFile *counts = g_key_file_new();
    const bool counted = g_key_file_load_from_file(counts, countsPath().c_str(), G_KEY_FILE_NONE, nullptr);
    m_status.rulesUsed = g_key_file_get_uint64(counts, "Rules", "Used", nullptr);
    m_status.rulesSkipped = g_key_file_get_uint64(counts, "Rules", "Skipped", nullptr);
    g_key_file_free(counts);
    // No filter for these lists yet (or one whose counts went missing): make it.
    if (!filter || !counted) {
        if (filter)
            webkit_user_content_filter_unref(filter);
        if (m_compiled)
            return fail("the compiled filter cannot be loaded");
        return startCompile();
    }
    m_filter = filter;
    m_status.lists = PageView::Blocking::Lists::Ready;
    changed.emit();
}

void ContentBlocking::pageLoading()
{
    if (!m_firstPageLoaded)
        m_firstPageLoading = true;
}

void ContentBlocking::pageLoaded()
{
    m_firstPageLoaded = true;
    if (m_compileWaiting) {
        m_compileWaiting = false;
        startCompile();
    }
}

void ContentBlocking::startCompile()
{
    // Not while the first page loads (a fresh profile's first start): it
    // would take the processor from it.
    if (m_firstPageLoading && !m_firstPageLoaded) {
        m_compileWaiting = true;
        return;
    }
    GSubprocessLauncher *launcher = g_subprocess_launcher_new(
        GSubprocessFlags(G_SUBPROCESS_FLAGS_STDOUT_SILENCE | G_SUBPROCESS_FLAGS_STDERR_PIPE));
    // It ends with the browser, however the browser ends.
    g_subprocess_launcher_set_child_setup(launcher, [](gpointer) { prctl(PR_SET_PDEATHSIG, SIGKILL); },
                                          nullptr, nullptr);
    std::vector<const gchar *> argv = {m_options.compiler.c_str(), m_options.storeFolder.c_str(),
                                       m_identifier.c_str()};
    for (const std::string &list : m_lists)
        argv.push_back(list.c_str());
    argv.push_back(nullptr);
    GError *error = nullptr;
    m_compile = g_subprocess_launcher_spawnv(launcher, argv.data(), &error);
    g_object_unref(launcher);
    if (!m_compile) {
        const std::string problem = error ? error->message : "the compile helper cannot start";
        g_clear_error(&error);
        return fail(problem);
    }
    g_subprocess_communicate_async(
        m_compile, nullptr, m_cancellable,
        [](GObject *process, GAsyncResult *result, gpointer data) {
            GBytes *errors = nullptr;
            const bool ran =
                g_subprocess_communicate_finish(G_SUBPROCESS(process), result, nullptr, &errors, nullptr);
            if (ContentBlocking *self = Owner::take(data)) {
                const bool ok = ran && g_subprocess_get_if_exited(G_SUBPROCESS(process))
                                && g_subprocess_get_exit_status(G_SUBPROCESS(process)) == 0;
                gsize size = 0;
                const auto *bytes = errors ? static_cast<const char *>(g_bytes_get_data(errors, &size)) : nullptr;
                // Its last line says what went wrong.
                std::string said = bytes ? std::string(bytes, size) : std::string();
                while (!said.empty() && said.back() == '\n')
                    said.pop_back();
                const auto lineStart = said.rfind('\n');
                said = said.substr(lineStart == std::string::npos ? 0 : lineStart + 1);
                if (!g_utf8_validate(said.data(), gssize(said.size()), nullptr))
                    said.clear();
                self->compileEnded(ok, said.empty() ? "the compile helper ended before it was done" : said);
            }
            if (errors)
                g_bytes_unref(errors);
        },
        Owner::hold(*this));
}

void ContentBlocking::compileEnded(bool ok, const std::string &problem)
{
    g_clear_object(&m_compile);
    if (!ok)
        return fail(problem);
    m_compiled = true;
    keyFound(m_identifier.substr(sizeof IdentifierPrefix - 1));
}

void ContentBlocking::fail(const std::string &problem)
{
    m_status.lists = PageView::Blocking::Lists::Failed;
    m_status.problem = problem;
    changed.emit();
}

std::string ContentBlocking::signaturePath() const
{
    return m_options.storeFolder + "/lists.key";
}

std::string ContentBlocking::countsPath() const
{
    return m_options.storeFolder + "/" + m_identifier + ".counts";
}
