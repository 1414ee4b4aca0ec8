#include "window/frmbrowser.h"

#include "search/enginemenuitems.h"

// The menu tree of the main window, built from one table.
namespace {

// The menu tree. Captions mark the access key with "&"; the engine items come
// from their own table where the row of kind Engines stands.
enum class Kind { Menu, Item, Separator, Engines };
struct MenuRow { const char *name; const char *caption; Kind kind; const char *parent; };
constexpr MenuRow MenuRows[] = {
    {"mnufile", "File", Kind::Menu, nullptr},
    {"mnusetmypage", "&Set My Home Page", Kind::Item, "mnufile"},
    {"mnusepo", nullptr, Kind::Separator, "mnufile"},
    {"mnuopen", "Open", Kind::Item, "mnufile"},
    {"mnusave", "Save", Kind::Item, "mnufile"},
    {"mnusepos", nullptr, Kind::Separator, "mnufile"},
    {"mnuiefavorites", "IE Favorites", Kind::Item, "mnufile"},
    {"mnuaddtoiefavorites", "Add to IE Favorites", Kind::Item, "mnufile"},
    {"mnusepie", nullptr, Kind::Separator, "mnufile"},
    {"mnuprintpreview", "Print Preview", Kind::Item, "mnufile"},
    {"mnuprint", "Print", Kind::Item, "mnufile"},
    {"mnusepset", nullptr, Kind::Separator, "mnufile"},
    {"mnuchangecolorscheme", "Change color scheme", Kind::Menu, "mnufile"},
    {"mnuaddressbar", "Address Bar", Kind::Menu, "mnuchangecolorscheme"},
    {"mnuchangefontcoloraddressbar", "Change Font Color", Kind::Item, "mnuaddressbar"},
    {"mnuchangebackgroundcoloraddressbar", "Change Background Color", Kind::Item, "mnuaddressbar"},
    {"mnusearchbox", "Search Box", Kind::Menu, "mnuchangecolorscheme"},
    {"mnuchangefontcolorsearchbox", "Change Font Color", Kind::Item, "mnusearchbox"},
    {"mnuchangebackgroundcolorsearchbox", "Change Background Color", Kind::Item, "mnusearchbox"},
    {"mnusepieprop", nullptr, Kind::Separator, "mnufile"},
    {"mnuinternetproperites", "Internet Properties", Kind::Item, "mnufile"},
    {"mnusepcustomizexit", nullptr, Kind::Separator, "mnufile"},
    {"mnuexit", "E&xit", Kind::Item, "mnufile"},
    {"mnuintegratedsearchengine", "Integrated &Search Engine", Kind::Menu, nullptr},
    {nullptr, nullptr, Kind::Engines, "mnuintegratedsearchengine"},
    {"mnueditmyfavorites", "&Edit My Favorite Buttons", Kind::Menu, nullptr},
    {"mnu1", "&1", Kind::Item, "mnueditmyfavorites"}, {"mnu2", "&2", Kind::Item, "mnueditmyfavorites"},
    {"mnu3", "&3", Kind::Item, "mnueditmyfavorites"}, {"mnu4", "&4", Kind::Item, "mnueditmyfavorites"},
    {"mnu5", "&5", Kind::Item, "mnueditmyfavorites"}, {"mnu6", "&6", Kind::Item, "mnueditmyfavorites"},
    {"mnu7", "&7", Kind::Item, "mnueditmyfavorites"}, {"mnu8", "&8", Kind::Item, "mnueditmyfavorites"},
    {"mnu9", "&9", Kind::Item, "mnueditmyfavorites"}, {"mnu10", "1&0", Kind::Item, "mnueditmyfavorites"},
    {"mnufavoritebuttons", "&Favorite Buttons", Kind::Menu, nullptr},
    {"mnuf1", "&1", Kind::Item, "mnufavoritebuttons"}, {"mnuf2", "&2", Kind::Item, "mnufavoritebuttons"},
    {"mnuf3", "&3", Kind::Item, "mnufavoritebuttons"}, {"mnuf4", "&4", Kind::Item, "mnufavoritebuttons"},
    {"mnuf5", "&5", Kind::Item, "mnufavoritebuttons"}, {"mnuf6", "&6", Kind::Item, "mnufavoritebuttons"},
    {"mnuf7", "&7", Kind::Item, "mnufavoritebuttons"}, {"mnuf8", "&8", Kind::Item, "mnufavoritebuttons"},
    {"mnuf9", "&9", Kind::Item, "mnufavoritebuttons"}, {"mnuf10", "1&0", Kind::Item, "mnufavoritebuttons"},
    {"mnua", "&Help", Kind::Menu, nullptr},
    {"mnumarrowgatehelp", "Skimlark &Help", Kind::Item, "mnua"},
    {"sepwr", nullptr, Kind::Separator, "mnua"},
    {"mnuaboutquendle", "&About Skimlark", Kind::Item, "mnua"},
};

// "&" marks the access key in the design; GTK marks it with "_" and needs a
// literal "_" doubled.
std::string mnemonic(const std::string &caption)
{
    std::string result;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '_')
            result += "__";
        else if (caption[i] == '&' && i + 1 < caption.size() && caption[i + 1] == '&')
            result += caption[i++];
        else if (caption[i] == '&')
            result += '_';
        else
            result += caption[i];
    }
    return result;
}

std::string plain(const std::string &caption)
{
    std::string result;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&' || (i + 1 < caption.size() && caption[i + 1] == '&' && ++i))
            result += caption[i];
    }
    return result;
}

} // namespace

void frmBrowser::buildMenus()
{
    std::map<std::string, Gtk::Menu *> menus;
    auto menuOf = [this, &menus](const char *parent) -> Gtk::MenuShell & {
        if (!parent)
            return menuBar;
        return *menus.at(parent);
    };
    auto add = [this](Gtk::MenuShell &shell, Gtk::MenuItem *item, const std::string &name,
                      const std::string &caption) {
        item->set_name(name);
        if (!caption.empty())
            item->get_accessible()->set_name(plain(caption));
        shell.append(*item);
        item->show();
        m_menuItems[name] = item;
        return item;
    };
    for (const MenuRow &row : MenuRows) {
        Gtk::MenuShell &shell = menuOf(row.parent);
        switch (row.kind) {
        case Kind::Menu: {
            Gtk::MenuItem *item = add(shell, Gtk::manage(new Gtk::MenuItem(mnemonic(row.caption), true)),
                                      row.name, row.caption);
            auto *menu = Gtk::manage(new Gtk::Menu);
            menu->set_accel_group(accelGroup);
            item->set_submenu(*menu);
            menus[row.name] = menu;
            break;
        }
        case Kind::Item:
            add(shell, Gtk::manage(new Gtk::MenuItem(mnemonic(row.caption), true)), row.name, row.caption);
            break;
        case Kind::Separator:
            add(shell, Gtk::manage(new Gtk::SeparatorMenuItem), row.name, "");
            break;
        case Kind::Engines:
            for (const EngineMenuItem &engine : EngineMenuItems) {
                Gtk::MenuItem *item = add(shell, Gtk::manage(new Gtk::CheckMenuItem(mnemonic(engine.caption), true)),
                                          engine.name, engine.caption);
                item->set_no_show_all(true);
                item->set_visible(engine.visible);
                if (engine.separatorAfter)
                    add(shell, Gtk::manage(new Gtk::SeparatorMenuItem), engine.separatorAfter, "");
            }
            break;
        }
    }
    menuItem("mnuexit")->signal_activate().connect([this] { close(); });
}

Gtk::MenuItem *frmBrowser::menuItem(const std::string &name) const
{
    const auto found = m_menuItems.find(name);
    return found == m_menuItems.end() ? nullptr : found->second;
}

Gtk::CheckMenuItem *frmBrowser::checkItem(const std::string &name) const
{
    return dynamic_cast<Gtk::CheckMenuItem *>(menuItem(name));
}
