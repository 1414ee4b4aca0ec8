#pragma once

#include <gdk/gdk.h>

// What the menu items, the keys and the buttons of the main window ask for.
// The window runs the command bound to it; the composition root binds every one.
enum class Command {
    SetHomePage,
    Open,
    Save,
    Downloads,
    ShowFavoritesFolder,
    AddToFavoritesFolder,
    History, // the History window
    PrintPreview,
    Print,
    ChangeColour, // argument: 0 address bar text, 1 its background, 2 search box text, 3 its background
    InternetProperties,
    Exit,
    EditFavorite, // argument: the slot, 1 to 10
    OpenFavorite, // argument: the slot, 1 to 10
    Help,
    About,
    Back,
    Forward,
    Stop,
    CloseFindOrStop, // Esc: closes the find bar when the keyboard is in it, else stops the page
    Refresh,
    Home,
    FocusAddressBar,
    FocusSearchBox,
    CycleFocus, // the next of the address bar, the search box, the page and its question
    Find,
    ZoomIn,
    ZoomOut,
    ZoomReset,
    FullScreen,
    AddFavorite, // fills the first empty favorite slot
    Search, // the search box's words
    Surf, // the address bar's text
    None,
};

struct Key
{
    guint keyval;
    GdkModifierType modifiers;
};

// The menu tree. Captions mark the access key with "&". The engine items are
// the search engine menu's own: they go into the menu of kind Engines. A row
// of kind Slots stands for ten items, one per favorite slot: its name with
// the slot's number ("mnu1" ... "mnu10"), captioned "&1" ... "1&0", running
// its command with the slot as argument.
enum class MenuKind { Menu, Item, Separator, Engines, Slots };
struct MenuRow
{
    const char *name;
    const char *caption;
    MenuKind kind;
    const char *parent;
    Command command;
    int argument;
    // Shown beside the item; keyval 0 for none.
    Key key;
};

namespace menurows {
constexpr auto Ctrl = GDK_CONTROL_MASK;
constexpr Key NoKey{0, GdkModifierType(0)};
constexpr MenuRow menu(const char *name, const char *caption, const char *parent)
{
    return {name, caption, MenuKind::Menu, parent, Command::None, 0, NoKey};
}
constexpr MenuRow item(const char *name, const char *caption, const char *parent, Command command,
                       int argument = 0, Key key = NoKey)
{
    return {name, caption, MenuKind::Item, parent, command, argument, key};
}
constexpr MenuRow separator(const char *name, const char *parent)
{
    return {name, nullptr, MenuKind::Separator, parent, Command::None, 0, NoKey};
}
} // namespace menurows

inline constexpr int FavoriteSlots = 10;

inline constexpr MenuRow MenuRows[] = {
    menurows::menu("mnufile", "File", nullptr),
    menurows::item("mnusetmypage", "&Set My Home Page", "mnufile", Command::SetHomePage),
    menurows::separator("mnusepo", "mnufile"),
    menurows::item("mnuopen", "Open", "mnufile", Command::Open, 0, {GDK_KEY_o, menurows::Ctrl}),
    menurows::item("mnusave", "Save", "mnufile", Command::Save, 0, {GDK_KEY_s, menurows::Ctrl}),
    menurows::item("mnudownloads", "&Downloads", "mnufile", Command::Downloads, 0,
                   {GDK_KEY_y, GdkModifierType(GDK_CONTROL_MASK | GDK_SHIFT_MASK)}),
    menurows::separator("mnusepos", "mnufile"),
    menurows::item("mnuiefavorites", "IE Favorites", "mnufile", Command::ShowFavoritesFolder),
    menurows::item("mnuaddtoiefavorites", "Add to IE Favorites", "mnufile", Command::AddToFavoritesFolder),
    menurows::item("mnuhistory", "&History", "mnufile", Command::History, 0, {GDK_KEY_h, menurows::Ctrl}),
    menurows::separator("mnusepie", "mnufile"),
    menurows::item("mnuprintpreview", "Print Preview", "mnufile", Command::PrintPreview),
    menurows::item("mnuprint", "Print", "mnufile", Command::Print, 0, {GDK_KEY_p, menurows::Ctrl}),
    menurows::separator("mnusepset", "mnufile"),
    menurows::menu("mnuchangecolorscheme", "Change color scheme", "mnufile"),
    menurows::menu("mnuaddressbar", "Address Bar", "mnuchangecolorscheme"),
    menurows::item("mnuchangefontcoloraddressbar", "Change Font Color", "mnuaddressbar", Command::ChangeColour, 0),
    menurows::item("mnuchangebackgroundcoloraddressbar", "Change Background Color", "mnuaddressbar",
                   Command::ChangeColour, 1),
    menurows::menu("mnusearchbox", "Search Box", "mnuchangecolorscheme"),
    menurows::item("mnuchangefontcolorsearchbox", "Change Font Color", "mnusearchbox", Command::ChangeColour, 2),
    menurows::item("mnuchangebackgroundcolorsearchbox", "Change Background Color", "mnusearchbox",
                   Command::ChangeColour, 3),
    menurows::separator("mnusepieprop", "mnufile"),
    menurows::item("mnuinternetproperites", "Internet Properties", "mnufile", Command::InternetProperties),
    menurows::separator("mnusepcustomizexit", "mnufile"),
    menurows::item("mnuexit", "E&xit", "mnufile", Command::Exit, 0, {GDK_KEY_q, menurows::Ctrl}),
    menurows::menu("mnuintegratedsearchengine", "Integrated &Search Engine", nullptr),
    {nullptr, nullptr, MenuKind::Engines, "mnuintegratedsearchengine", Command::None, 0, menurows::NoKey},
    menurows::menu("mnueditmyfavorites", "&Edit My Favorite Buttons", nullptr),
    {"mnu", nullptr, MenuKind::Slots, "mnueditmyfavorites", Command::EditFavorite, 0, menurows::NoKey},
    menurows::menu("mnufavoritebuttons", "&Favorite Buttons", nullptr),
    {"mnuf", nullptr, MenuKind::Slots, "mnufavoritebuttons", Command::OpenFavorite, 0, menurows::NoKey},
    menurows::menu("mnua", "&Help", nullptr),
    menurows::item("mnumarrowgatehelp", "Skimlark &Help", "mnua", Command::Help),
    menurows::separator("sepwr", "mnua"),
    menurows::item("mnuaboutquendle", "&About Skimlark", "mnua", Command::About),
};

// Keys that no menu item shows: what users expect of a browser. Each runs
// what the toolbar button or field it names would.
struct KeyRow
{
    Command command;
    Key keys[3];
    // The key goes on to the focused control and the page after the command.
    bool passOn = false;
};

namespace keyrows {
constexpr auto Alt = GDK_MOD1_MASK;
constexpr auto Ctrl = GDK_CONTROL_MASK;
constexpr auto Plain = GdkModifierType(0);
} // namespace keyrows

inline constexpr KeyRow KeyRows[] = {
    {Command::Back, {{GDK_KEY_Left, keyrows::Alt}, {GDK_KEY_KP_Left, keyrows::Alt}}},
    {Command::Forward, {{GDK_KEY_Right, keyrows::Alt}, {GDK_KEY_KP_Right, keyrows::Alt}}},
    {Command::Refresh, {{GDK_KEY_F5, keyrows::Plain}, {GDK_KEY_r, keyrows::Ctrl}}},
    {Command::Home, {{GDK_KEY_Home, keyrows::Alt}}},
    {Command::CloseFindOrStop, {{GDK_KEY_Escape, keyrows::Plain}}, true},
    {Command::FocusAddressBar, {{GDK_KEY_l, keyrows::Ctrl}, {GDK_KEY_d, keyrows::Alt}}},
    {Command::FocusSearchBox, {{GDK_KEY_k, keyrows::Ctrl}}},
    {Command::CycleFocus, {{GDK_KEY_F6, keyrows::Plain}}},
    {Command::Find, {{GDK_KEY_f, keyrows::Ctrl}}},
    {Command::ZoomIn, {{GDK_KEY_plus, keyrows::Ctrl}, {GDK_KEY_equal, keyrows::Ctrl}, {GDK_KEY_KP_Add, keyrows::Ctrl}}},
    {Command::ZoomOut, {{GDK_KEY_minus, keyrows::Ctrl}, {GDK_KEY_KP_Subtract, keyrows::Ctrl}}},
    {Command::ZoomReset, {{GDK_KEY_0, keyrows::Ctrl}, {GDK_KEY_KP_0, keyrows::Ctrl}}},
    {Command::FullScreen, {{GDK_KEY_F11, keyrows::Plain}}},
    {Command::AddFavorite, {{GDK_KEY_d, keyrows::Ctrl}}},
};
