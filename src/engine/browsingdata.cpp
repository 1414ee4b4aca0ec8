#include "engine/browsingdata.h"

#include <webkit2/webkit2.h>

namespace browsingdata {

void clear(WebKitWebsiteDataManager *data, std::function<void(bool ok, const std::string &what)> done)
{
    auto *pending = new std::function<void(bool, const std::string &)>(std::move(done));
    webkit_website_data_manager_clear(
        data, WEBKIT_WEBSITE_DATA_ALL, 0, nullptr,
        [](GObject *manager, GAsyncResult *result, gpointer waiting) {
            auto *done = static_cast<std::function<void(bool, const std::string &)> *>(waiting);
            GError *error = nullptr;
            const bool ok = webkit_website_data_manager_clear_finish(WEBKIT_WEBSITE_DATA_MANAGER(manager), result, &error);
            const std::string message = error ? error->message : "";
            if (error)
                g_error_free(error);
            (*done)(ok, ok ? "cookies, the cache, local storage, IndexedDB, service workers, "
                             "HSTS and tracking-prevention data, and the back and forward history. "
                             "Sign-ins and certificate exceptions accepted since Skimlark started "
                             "last until it closes."
                           : message);
            delete done;
        },
        pending);
}

} // namespace browsingdata
