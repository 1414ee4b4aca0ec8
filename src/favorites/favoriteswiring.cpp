#include "favorites/favoriteswiring.h"

#include "window/frmbrowser.h"
#include "favorites/favoritecommands.h"
#include "favorites/favoritesfolder.h"
#include "favorites/favoritesfoldercommands.h"
#include "favorites/homepage.h"

namespace {
constexpr int HomePageTab = 0;

void onActivate(frmBrowser &window, const std::string &item, std::function<void()> command)
{
    if (Gtk::MenuItem *menuItem = window.menuItem(item))
        menuItem->signal_activate().connect(std::move(command));
}
} // namespace

void wireFavorites(frmBrowser &window)
{
    FavoriteCommands::Buttons buttons{};
    for (int n = 1; n <= favoritetexts::Count; ++n)
        buttons[n - 1] = window.favoriteButton(n);
    auto &favorites = window.keep(std::make_unique<FavoriteCommands>(
        window.settings(), window.dialogs(), window.WebBrowser1, buttons, &window));
    // A favorite button and its "&Favorite Buttons" item run the same command.
    for (int n = 1; n <= favoritetexts::Count; ++n) {
        const std::string number = std::to_string(n);
        onActivate(window, "mnu" + number, [&favorites, n] { favorites.edit(n); });
        onActivate(window, "mnuf" + number, [&favorites, n] { favorites.activate(n); });
        if (Gtk::ToolButton *button = window.favoriteButton(n))
            button->signal_clicked().connect([&favorites, n] { favorites.activate(n); });
    }

    auto retargetHomeTab = [&window](const std::string &address) {
        EngineTabBar &tabs = window.TabStrip1;
        tabs.setTag(HomePageTab, address);
        if (Gtk::Widget *page = tabs.get_nth_page(HomePageTab)) {
            if (Gtk::Widget *label = tabs.get_tab_label(*page))
                label->set_tooltip_text(address);
        }
    };
    auto &homePage = window.keep(std::make_unique<HomePage>(window.settings(), window.dialogs(),
                                                            retargetHomeTab, &window));
    onActivate(window, "mnusetmypage", [&homePage] { homePage.set(); });

    auto &folder = window.keep(std::make_unique<FavoritesFolderCommands>(
        window.WebBrowser1, window.dialogs(), window.Combo1, favoritesfolder::defaultFolder(),
        &window));
    onActivate(window, "mnuiefavorites", [&folder] { folder.showFolder(); });
    onActivate(window, "mnuaddtoiefavorites", [&folder] { folder.addToFavorites(); });
}
