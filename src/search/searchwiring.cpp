#include "searchwiring.h"

#include "browser/frmbrowser.h"
#include "defaultbuttonrule.h"
#include "enginemenu.h"
#include "enginetabstrip.h"
#include "navigation/addressbar.h"
#include "searchbox.h"

void wireSearch(frmBrowser &window)
{
    // One default button for both fields: the search box hands it to
    // "Search", the address bar to "Surf".
    auto *defaults = new DefaultButtonRule(&window);
    defaults->setObjectName(QStringLiteral("defaultButtonRule"));
    new SearchBox(window, *defaults);
    new AddressBar(window, *defaults);
    new EngineMenu(window);
    new EngineTabStrip(window);
}
