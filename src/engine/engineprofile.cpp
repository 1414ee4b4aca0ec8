#include "engine/engineprofile.h"

#include "engine/contentblocking.h"
#include "engine/enginesetup.h"
#include "engine/networkwatch.h"
#include "pagerules/makersite.h"
#include "pagerules/programfiles.h"

#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <webkit2/webkit2.h>

namespace engineprofile {
std::string engineVersion()
{
    return "WebKitGTK " + std::to_string(webkit_get_major_version()) + "."
           + std::to_string(webkit_get_minor_version()) + "." + std::to_string(webkit_get_micro_version());
}
} // namespace engineprofile

namespace {

std::string privateFolder(const std::string &chosen, const char *root)
{
    gchar *folder = skimlark_engine_private_folder(chosen.c_str(), root);
    std::string result = folder;
    g_free(folder);
    return result;
}

// The maker's pages, from the resources; a page never sees more than its own path.
void serveMakerPage(WebKitURISchemeRequest *request, gpointer)
{
    // Another site's page may not read the maker's pages.
    WebKitWebView *view = webkit_uri_scheme_request_get_web_view(request);
    const char *shown = view ? webkit_web_view_get_uri(view) : nullptr;
    SoupMessageHeaders *asked = webkit_uri_scheme_request_get_http_headers(request);
    const char *origin = asked ? soup_message_headers_get_one(asked, "Origin") : nullptr;
    const char *referrer = asked ? soup_message_headers_get_one(asked, "Referer") : nullptr;
    if (!makersite::answersRequest(shown ? shown : "", origin ? origin : "", referrer ? referrer : "")) {
        GError *error = g_error_new_literal(G_IO_ERROR, G_IO_ERROR_PERMISSION_DENIED, "Not for other sites");
        webkit_uri_scheme_request_finish_error(request, error);
        g_error_free(error);
        return;
    }
    const char *method = webkit_uri_scheme_request_get_http_method(request);
    const char *path = webkit_uri_scheme_request_get_path(request);
    const makersite::Reply reply = makersite::answer(method ? method : "GET", path && *path ? path : "/",
                                                     engineprofile::engineVersion());
    GBytes *bytes = g_bytes_new(reply.body.data(), reply.body.size());
    GInputStream *stream = g_memory_input_stream_new_from_bytes(bytes);
    WebKitURISchemeResponse *response = webkit_uri_scheme_response_new(stream, gint64(reply.body.size()));
    webkit_uri_scheme_response_set_status(response, guint(reply.status), nullptr);
    const std::string mime = reply.contentType.substr(0, reply.contentType.find(';'));
    webkit_uri_scheme_response_set_content_type(response, mime.c_str());
    SoupMessageHeaders *headers = soup_message_headers_new(SOUP_MESSAGE_HEADERS_RESPONSE);
    soup_message_headers_append(headers, "Cache-Control", "no-cache");
    webkit_uri_scheme_response_set_http_headers(response, headers);
    webkit_uri_scheme_request_finish_with_response(request, response);
    g_object_unref(response);
    g_object_unref(stream);
    g_bytes_unref(bytes);
}

} // namespace

// The rules that keep the maker's host off the network, compiled in the
// background while the first view and its page process start.
struct EngineProfile::FilterBuild
{
    bool done = false;
    WebKitUserContentFilter *filter = nullptr;
};

void EngineProfile::startMakerFilter()
{
    m_filterBuild = std::make_unique<FilterBuild>();
    WebKitUserContentFilterStore *store = webkit_user_content_filter_store_new((m_dataFolder + "/filters").c_str());
    const std::string rules = makersite::blockingRules();
    GBytes *source = g_bytes_new(rules.data(), rules.size());
    webkit_user_content_filter_store_save(
        store, "maker", source, nullptr,
        [](GObject *object, GAsyncResult *result, gpointer data) {
            auto *build = static_cast<FilterBuild *>(data);
            GError *error = nullptr;
            build->filter = webkit_user_content_filter_store_save_finish(
                WEBKIT_USER_CONTENT_FILTER_STORE(object), result, &error);
            if (error) {
                g_warning("The maker's host cannot be blocked: %s", error->message);
                g_error_free(error);
            }
            build->done = true;
        },
        m_filterBuild.get());
    g_bytes_unref(source);
    g_object_unref(store);
}

WebKitUserContentFilter *EngineProfile::makerFilter()
{
    // No page may load before the rules exist: wait for the compiler.
    while (!m_filterBuild->done)
        g_main_context_iteration(nullptr, TRUE);
    return m_filterBuild->filter;
}

void EngineProfile::setUpProcess()
{
    skimlark_engine_prepare_process();
}

EngineProfile::EngineProfile() : EngineProfile(Options()) {}

EngineProfile::EngineProfile(const Options &options)
    : m_network(std::make_unique<NetworkWatch>([this] { networkEnded.emit(); }))
{
    m_dataFolder = privateFolder(options.dataFolder, g_get_user_data_dir());
    const std::string cacheFolder = privateFolder(options.cacheFolder, g_get_user_cache_dir());
    // Made as the benchmark's bare shell makes its own, by the same calls.
    m_context = skimlark_engine_context_new(m_dataFolder.c_str(), cacheFolder.c_str());
    m_dataManager = webkit_web_context_get_website_data_manager(m_context);
    if (!options.proxy.empty()) {
        // Loopback servers are reached directly: tests serve https there.
        const char *direct[] = {"localhost", "127.0.0.1", "::1", nullptr};
        WebKitNetworkProxySettings *proxy = webkit_network_proxy_settings_new(options.proxy.c_str(), direct);
        webkit_website_data_manager_set_network_proxy_settings(m_dataManager,
                                                               WEBKIT_NETWORK_PROXY_MODE_CUSTOM, proxy);
        webkit_network_proxy_settings_free(proxy);
    }

    webkit_web_context_register_uri_scheme(m_context, makersite::Scheme.c_str(), serveMakerPage,
                                           nullptr, nullptr);
    WebKitSecurityManager *security = webkit_web_context_get_security_manager(m_context);
    webkit_security_manager_register_uri_scheme_as_local(security, makersite::Scheme.c_str());
    webkit_security_manager_register_uri_scheme_as_secure(security, makersite::Scheme.c_str());

    // Counts what the content filters block, in every page process.
    const ProgramFiles files = ProgramFiles::find(options.programFolder);
    if (g_file_test(files.pageExtensions.c_str(), G_FILE_TEST_IS_DIR))
        webkit_web_context_set_web_extensions_directory(m_context, files.pageExtensions.c_str());
    ContentBlocking::Options blocking;
    blocking.storeFolder = cacheFolder + "/ContentFilters";
    blocking.compiler = files.filterCompiler;
    blocking.lists = options.filterLists;
    m_blocking = std::make_unique<ContentBlocking>(std::move(blocking));

    startMakerFilter();
}

void EngineProfile::probed() const
{
    if (m_probed)
        return;
    m_probed = true;
    m_sandboxProblem = probeSandbox();
    if (m_sandboxProblem.empty())
        m_sandboxNotice = rootNotice(geteuid() == 0);
}

void EngineProfile::watchNetwork()
{
    m_network->look();
}

EngineProfile::~EngineProfile()
{
    m_blocking.reset();
    // Its network process ends with it, and that is no news to anyone.
    m_network.reset();
    if (WebKitUserContentFilter *filter = makerFilter())
        webkit_user_content_filter_unref(filter);
    g_object_unref(m_context);
}

namespace {

// The namespaces the engine asks for: a user namespace where the system
// allows one (root can do without), always its own processes and network.
std::vector<const gchar *> probeArguments(const gchar *bwrap)
{
    return {bwrap, "--unshare-user-try", "--unshare-pid", "--unshare-net", "--ro-bind", "/", "/", "true", nullptr};
}

std::string verdict(bool ok, std::string reason)
{
    if (ok)
        return std::string();
    const auto first = reason.find_first_not_of(" \t\r\n");
    reason = first == std::string::npos ? std::string()
                                        : reason.substr(first, reason.find_last_not_of(" \t\r\n") - first + 1);
    return "Pages cannot be shown safely: the page engine's sandbox cannot start here"
           + (reason.empty() ? std::string() : " (" + reason + ")")
           + ". Allow unprivileged user namespaces on this system (or check that bubblewrap may run) and start Skimlark again.";
}

const char *const MissingBubblewrap =
    "Pages cannot be shown safely: the page engine's sandbox needs bubblewrap (bwrap), "
    "which is not installed. Install the bubblewrap package and start Skimlark again.";

// The one check started ahead of the profile, if any.
struct StartedProbe
{
    bool running = false;
    GPid pid = 0;
    int errors = -1;
};

StartedProbe &startedProbe()
{
    static StartedProbe probe;
    return probe;
}

} // namespace

void EngineProfile::startSandboxProbe()
{
    StartedProbe &probe = startedProbe();
    gchar *bwrap = g_find_program_in_path("bwrap");
    if (!probe.running && bwrap) {
        auto argv = probeArguments(bwrap);
        probe.running = g_spawn_async_with_pipes(
            nullptr, const_cast<gchar **>(argv.data()), nullptr,
            GSpawnFlags(G_SPAWN_DO_NOT_REAP_CHILD | G_SPAWN_STDOUT_TO_DEV_NULL), nullptr, nullptr,
            &probe.pid, nullptr, nullptr, &probe.errors, nullptr);
    }
    g_free(bwrap);
}

std::string EngineProfile::disabledByVariable(const char *value)
{
    // The engine runs pages unconfined when its variable is there at all,
    // empty or "0" included.
    if (!value)
        return std::string();
    return "Pages cannot be shown safely: the page engine's sandbox is turned off by "
           "WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS in Skimlark's environment. "
           "Start Skimlark again without it.";
}

std::string EngineProfile::rootNotice(bool root)
{
    // The sandbox keeps root's user id and capabilities: it confines far less.
    if (!root)
        return std::string();
    return "Skimlark runs as root, so pages run with root's rights inside the page engine's sandbox. "
           "Run Skimlark as a normal user.";
}

std::string EngineProfile::probeSandbox()
{
    StartedProbe &probe = startedProbe();
    std::string disabled = disabledByVariable(g_getenv("WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS"));
    if (!disabled.empty()) {
        if (probe.running) {
            // The started check is not needed any more; reap it.
            probe.running = false;
            close(probe.errors);
            waitpid(probe.pid, nullptr, 0);
            g_spawn_close_pid(probe.pid);
        }
        return disabled;
    }
    if (probe.running) {
        probe.running = false;
        std::string reason;
        char chunk[512];
        ssize_t got = 0;
        while ((got = read(probe.errors, chunk, sizeof chunk)) > 0)
            reason.append(chunk, std::size_t(got));
        close(probe.errors);
        int status = 0;
        const bool ended = waitpid(probe.pid, &status, 0) == probe.pid;
        g_spawn_close_pid(probe.pid);
        return verdict(ended && WIFEXITED(status) && WEXITSTATUS(status) == 0, reason);
    }
    gchar *bwrap = g_find_program_in_path("bwrap");
    if (!bwrap)
        return MissingBubblewrap;
    auto argv = probeArguments(bwrap);
    gchar *errors = nullptr;
    gint status = 0;
    const bool ran = g_spawn_sync(nullptr, const_cast<gchar **>(argv.data()), nullptr, G_SPAWN_STDOUT_TO_DEV_NULL,
                                  nullptr, nullptr, nullptr, &errors, &status, nullptr);
    const bool ok = ran && g_spawn_check_wait_status(status, nullptr);
    std::string reason = errors ? errors : "";
    g_free(errors);
    g_free(bwrap);
    return verdict(ok, reason);
}
