#include "engine/pageviewfactory.h"

#include "engine/engineprofile.h"
#include "engine/webkitpageview.h"

namespace {

// The profile is a base listed first, so it exists before the view and
// outlives it.
struct ProfileHolder
{
    EngineProfile profile;
};

class EnginePageView : private ProfileHolder, public WebKitPageView
{
public:
    explicit EnginePageView(Dialogs &dialogs) : WebKitPageView(profile, dialogs) {}
};

} // namespace

std::unique_ptr<PageView> makePageView(Dialogs &dialogs)
{
    return std::make_unique<EnginePageView>(dialogs);
}
