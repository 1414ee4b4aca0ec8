#include "engine/pageviewfactory.h"

#include "engine/engineprofile.h"
#include "engine/webkitpageview.h"

std::unique_ptr<PageView> makePageView(Dialogs &dialogs, std::unique_ptr<EngineProfile> started)
{
    return std::make_unique<WebKitPageView>(started ? std::move(started) : std::make_unique<EngineProfile>(),
                                            dialogs);
}
