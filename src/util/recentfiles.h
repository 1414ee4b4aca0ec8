#pragma once

#include <string>
#include <vector>

typedef struct _GtkRecentManager GtkRecentManager;

// The program's traces in the desktop's list of recently used files (GTK's
// recently-used.xbel): the files its save boxes and its print preview put
// there.
namespace recentfiles {

// Removes every entry of `manager` that only the applications in `ours`
// registered; an entry another program also used stays, as it would be there
// without us. Returns how many were removed.
int forget(GtkRecentManager *manager, const std::vector<std::string> &ours);

// forget() on the user's own list, for this program's names.
int forgetOurs();

} // namespace recentfiles
