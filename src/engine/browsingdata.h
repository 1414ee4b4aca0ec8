#pragma once

#include <functional>
#include <string>

typedef struct _WebKitWebsiteDataManager WebKitWebsiteDataManager;

// What the user browsed, as the engine keeps it.
namespace browsingdata {
// Deletes cookies, cache, site storage and the like; `done` gets whether it
// worked and, in words, what was deleted (or what went wrong).
void clear(WebKitWebsiteDataManager *data, std::function<void(bool ok, const std::string &what)> done);
} // namespace browsingdata
