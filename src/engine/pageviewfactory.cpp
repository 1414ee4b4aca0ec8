#include "engine/pageviewfactory.h"

#include "engine/engineprofile.h"
#include "engine/webkitpageview.h"

std::unique_ptr<PageView> makePageView(Dialogs &dialogs)
{
    return std::make_unique<WebKitPageView>(std::make_unique<EngineProfile>(), dialogs);
}
