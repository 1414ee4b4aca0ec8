#include "engine/filtercompiler.h"

#include <webkit2/webkit2.h>

namespace {
const char TrialIdentifier[] = "skimlark-trial";

// Waits for an asynchronous call of the store, running the main context.
struct Waiting
{
    bool done = false;
    GAsyncResult *result = nullptr;

    static void answered(GObject *, GAsyncResult *result, gpointer data)
    {
        auto *self = static_cast<Waiting *>(data);
        self->result = G_ASYNC_RESULT(g_object_ref(result));
        self->done = true;
    }
    void wait()
    {
        while (!done)
            g_main_context_iteration(nullptr, TRUE);
    }
    ~Waiting()
    {
        if (result)
            g_object_unref(result);
    }
};
} // namespace

FilterCompiler::FilterCompiler(const std::string &storeFolder)
    : m_store(webkit_user_content_filter_store_new(storeFolder.c_str()))
{
}

FilterCompiler::~FilterCompiler()
{
    g_object_unref(m_store);
}

std::string FilterCompiler::trySave(const std::string &identifier, const std::vector<std::string> &rules,
                                    std::size_t first, std::size_t last)
{
    std::string json = "[";
    for (std::size_t i = first; i < last; ++i) {
        if (i > first)
            json += ',';
        json += rules[i];
    }
    json += ']';
    GBytes *source = g_bytes_new_take(g_strdup(json.c_str()), json.size());
    json = std::string();
    Waiting waiting;
    webkit_user_content_filter_store_save(m_store, identifier.c_str(), source, nullptr, Waiting::answered, &waiting);
    g_bytes_unref(source);
    waiting.wait();
    GError *error = nullptr;
    WebKitUserContentFilter *filter = webkit_user_content_filter_store_save_finish(m_store, waiting.result, &error);
    if (filter)
        webkit_user_content_filter_unref(filter);
    std::string problem;
    if (error) {
        problem = error->message && *error->message ? error->message : "the engine rejected the rules";
        g_error_free(error);
    }
    return problem;
}

void FilterCompiler::findRejected(const std::vector<std::string> &rules, std::size_t first, std::size_t last,
                                  std::vector<bool> &rejected)
{
    if (first >= last || trySave(TrialIdentifier, rules, first, last).empty())
        return;
    if (last - first == 1) {
        rejected[first] = true;
        return;
    }
    const std::size_t middle = first + (last - first) / 2;
    findRejected(rules, first, middle, rejected);
    findRejected(rules, middle, last, rejected);
}

FilterCompiler::Result FilterCompiler::compile(const std::string &identifier, const std::vector<std::string> &rules)
{
    Result result;
    result.problem = trySave(identifier, rules, 0, rules.size());
    if (result.problem.empty()) {
        result.ok = true;
        return result;
    }
    // One rule the compiler rejects fails them all: find it, and the others.
    std::vector<bool> rejected(rules.size(), false);
    findRejected(rules, 0, rules.size(), rejected);
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < rules.size(); ++i) {
        if (rejected[i])
            ++result.rejected;
        else
            kept.push_back(rules[i]);
    }
    removeOthers(TrialIdentifier, std::string());
    if (result.rejected == 0)
        return result;
    result.problem = trySave(identifier, kept, 0, kept.size());
    result.ok = result.problem.empty();
    return result;
}

void FilterCompiler::removeOthers(const std::string &prefix, const std::string &keep)
{
    Waiting listed;
    webkit_user_content_filter_store_fetch_identifiers(m_store, nullptr, Waiting::answered, &listed);
    listed.wait();
    gchar **identifiers = webkit_user_content_filter_store_fetch_identifiers_finish(m_store, listed.result);
    for (gchar **name = identifiers; name && *name; ++name) {
        const std::string identifier = *name;
        if (identifier == keep || identifier.compare(0, prefix.size(), prefix) != 0)
            continue;
        Waiting removed;
        webkit_user_content_filter_store_remove(m_store, identifier.c_str(), nullptr, Waiting::answered, &removed);
        removed.wait();
        webkit_user_content_filter_store_remove_finish(m_store, removed.result, nullptr);
    }
    g_strfreev(identifiers);
}
