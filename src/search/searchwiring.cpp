#include "search/searchwiring.h"

#include "window/frmbrowser.h"
#include "util/defaultbuttonrule.h"
#include "search/enginemenu.h"
#include "search/enginemenuitems.h"
#include "search/enginetabstrip.h"
#include "search/searchcommand.h"

void wireSearch(frmBrowser &window)
{
    DefaultButtonRule::hand(window.Text1, window.Command1);
    SearchCommand &search = window.keep(
        std::make_unique<SearchCommand>(window.Text1, window.settings(), window.WebBrowser1));
    window.Command1.signal_clicked().connect(sigc::mem_fun(search, &SearchCommand::run));

    std::vector<EngineMenu::Item> items;
    for (const EngineMenuItem &entry : EngineMenuItems) {
        if (Gtk::CheckMenuItem *item = window.checkItem(entry.name))
            items.push_back({item, entry.engineId});
    }
    window.keep(std::make_unique<EngineMenu>(window.settings(), std::move(items)));

    window.keep(std::make_unique<EngineTabStrip>(window.TabStrip1, window.Text1, window.WebBrowser1));
}
