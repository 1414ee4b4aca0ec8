#include "app/browser.h"

#include "app/settingsreport.h"
#include "commands/colourscheme.h"
#include "commands/desktopfiles.h"
#include "commands/downloadscommands.h"
#include "commands/filecommands.h"
#include "commands/internetsettings.h"
#include "commands/toolscommands.h"
#include "engine/engineprofile.h"
#include "favorites/favoritecommands.h"
#include "favorites/favoritesfolder.h"
#include "favorites/favoritesfoldercommands.h"
#include "favorites/homepage.h"
#include "history/addresssuggestions.h"
#include "history/downloadlist.h"
#include "history/historydatabase.h"
#include "history/historystore.h"
#include "history/sitezoom.h"
#include "interfaces/dialogs.h"
#include "interfaces/pageview.h"
#include "navigation/addressbar.h"
#include "navigation/historyrecorder.h"
#include "navigation/historywindow.h"
#include "navigation/navigationtoolbar.h"
#include "navigation/pagefocus.h"
#include "navigation/pagestatus.h"
#include "navigation/pagezoom.h"
#include "navigation/securitymark.h"
#include "navigation/suggestionpopup.h"
#include "pagerules/siteexceptions.h"
#include "search/enginemenu.h"
#include "search/enginetabstrip.h"
#include "search/searchcommand.h"
#include "settings/settingsstore.h"
#include "util/defaultbuttonrule.h"
#include "util/later.h"
#include "util/outsideaddress.h"
#include "util/urlinput.h"
#include "window/findbar.h"
#include "window/mainwindow.h"

namespace {

constexpr int HomePageTab = 0;

FavoriteCommands::Buttons favoriteButtons(MainWindow &window)
{
    FavoriteCommands::Buttons buttons{};
    for (int n = 1; n <= favoritetexts::Count; ++n)
        buttons[n - 1] = window.favoriteButton(n);
    return buttons;
}

// The whole text selected, ready to be typed over, its beginning in sight.
void focusField(Gtk::Entry &field)
{
    field.grab_focus();
    field.select_region(field.get_text_length(), 0);
}

} // namespace

// Built in the order the window's load restores the stored state: engine
// marks, favorite tooltips, the home address, colours, the engine tabs, the
// visited-address list.
struct Browser::Parts : sigc::trackable
{
    Parts(SettingsStore &s, Dialogs &d, PageView &v, Desktop *o)
        : settings(s), dialogs(d), view(v), desktop(o ? *o : desktopFiles)
    {
    }

    SettingsStore &settings;
    Dialogs &dialogs;
    PageView &view;
    DesktopFiles desktopFiles;
    Desktop &desktop;
    HistoryDatabase history;
    DownloadList downloadList{history};
    MainWindow window{view};
    SettingsReport report{settings, dialogs, window};
    EngineMenu engineMenu{settings, window.engineMenu()};
    FavoriteCommands favorites{settings, dialogs, view, favoriteButtons(window), &window};
    HomePage homePage{settings, dialogs, window.engineTabs(), window.searchButton(), &window};
    ColourScheme colours{settings, dialogs, *window.addressCombo().get_entry(), window.searchBox(), &window};
    EngineTabStrip tabStrip{window.engineTabs(), window.searchBox(), view};
    SearchCommand search{window.searchBox(), settings, view};
    AddressBar addressBar{window.addressCombo(), window.surfButton(), settings, view, dialogs,
                          [this](const std::string &words) { search.searchFor(words); },
                          [this] { return search.engineChosen(); }};
    NavigationToolbar toolbar{settings, view, dialogs, &window};
    PageStatus status{view, window.panels(), window, addressBar};
    PageFocus pageFocus{view, window};
    FileCommands files{view, dialogs, &window};
    FavoritesFolderCommands folder{view, dialogs, window.addressCombo(), favoritesfolder::defaultFolder(), &window};
    // The history is opened on first use, not at start: a long one costs the start nothing.
    HistoryStore visits{history};
    AddressSuggestions suggestions{history};
    HistoryRecorder recorder{view, visits};
    SuggestionPopup suggestionPopup{*window.addressCombo().get_entry(), suggestions,
                                    [this](const std::string &address) { addressBar.surfAddress(address); }};
    std::unique_ptr<HistoryWindow> historyWindow;
    // Deleting browsing data empties the history too.
    ToolsCommands tools{view, settings, dialogs,
                        [this] {
                            visits.clear();
                            if (historyWindow)
                                historyWindow->historyChanged();
                            return addressBar.forgetSurfed();
                        },
                        window, engineprofile::engineVersion()};
    FindBar findBar{view};
    DownloadsCommands downloads{view, downloadList, desktop, window};
    SiteZoom siteZoom{history};
    PageZoom zoom{view, siteZoom};
    SecurityMark securityMark{*window.addressCombo().get_entry(), view, dialogs};

    // Opened instead of the home page by the first activation.
    std::string firstAddress;
    // Told once the window is there: what was handed over was no address.
    std::string firstMessage;
    bool firstPageAsked = false;
    // The first page asked for before the window was built, if it was.
    std::string askedEarly;
    // An address handed over is on its way, and how many handed over before
    // it gave way to a later one before their page showed.
    bool handedOverPending = false;
    int notOpened = 0;
    bool choosingFirstPage = false;
    sigc::connection firstMap;

    // A navigation the user asked for, which says whether it went ahead: only
    // then does typing left in the address bar give way, and the page take
    // the focus when it commits.
    void byUser(bool navigated)
    {
        if (!navigated)
            return;
        addressBar.userNavigated();
        pageFocus.expect();
    }

    void connectControls();
    void connectHistory();
    void showHistory();
    void bindCommands();
    void firstActivation();
    void openHandedOver(const std::string &address);
    void focusNext();
    void sayInvalid(const std::string &message);
};

void Browser::Parts::connectControls()
{
    view.offerSearch([this](const std::string &words) { return search.queryAddress(words); });
    // The sites where the user lets trackers and ads load: asked at each
    // load, changed from the page's menu and shown at once.
    view.setAdsAllowed([this](const std::string &host) { return siteexceptions::allowed(settings, host); });
    view.adsChoice.connect([this](const std::string &host, bool allow) {
        if (siteexceptions::setAllowed(settings, host, allow))
            view.refresh();
    });
    DefaultButtonRule::hand(window.searchBox(), window.searchButton());
    // A surf (from Surf, Enter or the list) hands nothing back: the address
    // bar's text is what goes.
    addressBar.surfing.connect([this] { pageFocus.expect(); });
    // Held over the page's load texts, so that it can be read.
    addressBar.notice.connect([this](const std::string &text) { status.tell(text); });
    // The history file's troubles (damaged and set aside, cannot be written) are told once each.
    history.problemFound.connect([this](const std::string &message) { status.tell(message); });
    // What was handed over shows, or is given up: the next one counts afresh.
    auto handedOverEnded = [this] {
        handedOverPending = false;
        notOpened = 0;
    };
    view.loadCommitted.connect(handedOverEnded);
    view.loadEndedWithoutPage.connect(sigc::hide(sigc::hide(handedOverEnded)));

    window.engineTabs().chosen.connect([this](int index) {
        // The first activation's own choice opens the first page, unless it
        // is on its way already; nobody clicked.
        if (choosingFirstPage) {
            if (askedEarly.empty())
                tabStrip.open(index);
        } else
            byUser(tabStrip.open(index));
    });
    window.signal_first_activated().connect([this] { firstActivation(); });

    window.pageArea().pack_end(findBar, false, false);
    window.pageArea().pack_start(report.bar(), false, false);
    window.pageArea().reorder_child(report.bar(), 0);
    // The state of the settings file is told once, when the window is first on
    // screen (a window restored from an icon maps again).
    firstMap = window.signal_map().connect([this] {
        firstMap.disconnect();
        runLater(*this, [this] { report.windowShown(); });
    });
}

void Browser::Parts::connectHistory()
{
    addressBar.typed.connect(sigc::mem_fun(suggestionPopup, &SuggestionPopup::typed));
    addressBar.typingEnded.connect(sigc::mem_fun(suggestionPopup, &SuggestionPopup::hide));
    addressBar.surfing.connect(sigc::mem_fun(suggestionPopup, &SuggestionPopup::hide));
    recorder.recorded.connect([this] {
        if (historyWindow)
            historyWindow->historyChanged();
    });
    // The History window says it too.
    history.problemFound.connect([this](const std::string &message) {
        if (historyWindow)
            historyWindow->tellProblem(message);
    });
}

void Browser::Parts::showHistory()
{
    if (!historyWindow) {
        historyWindow = std::make_unique<HistoryWindow>(
            visits, [this](const std::string &address) {
                addressBar.surfAddress(address);
                window.present();
            },
            &window);
        historyWindow->tellProblem(history.problem());
    }
    historyWindow->present();
}

void Browser::Parts::bindCommands()
{
    auto bind = [this](Command command, std::function<void()> run) {
        window.bind(command, [run](int) { run(); });
    };
    bind(Command::SetHomePage, [this] { homePage.set(); });
    bind(Command::Open, [this] { byUser(files.open()); });
    bind(Command::Save, [this] { files.save(); });
    bind(Command::Downloads, [this] { downloads.showWindow(); });
    bind(Command::ShowFavoritesFolder, [this] { byUser(folder.showFolder()); });
    bind(Command::AddToFavoritesFolder, [this] { folder.addToFavorites(); });
    bind(Command::History, [this] { showHistory(); });
    bind(Command::PrintPreview, [this] { files.printPreview(); });
    bind(Command::Print, [this] { files.print(); });
    window.bind(Command::ChangeColour, [this](int target) {
        if (target >= 0 && target <= 3)
            colours.change(ColourScheme::Target(target));
    });
    bind(Command::InternetProperties, [this] { tools.showInternetProperties(); });
    window.bind(Command::EditFavorite, [this](int n) { favorites.edit(n); });
    window.bind(Command::OpenFavorite, [this](int n) { byUser(favorites.activate(n)); });
    bind(Command::Help, [this] { byUser(files.showHelp()); });
    bind(Command::About, [this] { tools.showAbout(); });
    bind(Command::Back, [this] { byUser(toolbar.back()); });
    bind(Command::Forward, [this] { byUser(toolbar.forward()); });
    bind(Command::Refresh, [this] { byUser(toolbar.refresh()); });
    bind(Command::Home, [this] { byUser(toolbar.home()); });
    bind(Command::Search, [this] { byUser(search.run()); });
    bind(Command::Surf, [this] { addressBar.surf(); });
    bind(Command::Stop, [this] { toolbar.stop(); });
    bind(Command::CloseFindOrStop, [this] {
        if (findBar.hasFocusInside())
            findBar.close();
        else
            toolbar.stop();
    });
    bind(Command::FocusAddressBar, [this] { focusField(*window.addressCombo().get_entry()); });
    bind(Command::FocusSearchBox, [this] { focusField(window.searchBox()); });
    bind(Command::CycleFocus, [this] { focusNext(); });
    bind(Command::Find, [this] { findBar.open(); });
    bind(Command::ZoomIn, [this] { zoom.in(); });
    bind(Command::ZoomOut, [this] { zoom.out(); });
    bind(Command::ZoomReset, [this] { zoom.reset(); });
    bind(Command::AddFavorite, [this] { favorites.addCurrentPage(); });
}

// F6, as in other browsers: the address bar, the search box, the page, and
// the page's question when it asks one (the user's one way to answer it from
// the keyboard; it never takes the keyboard itself), round again.
void Browser::Parts::focusNext()
{
    Gtk::Entry &address = *window.addressCombo().get_entry();
    Gtk::Widget *now = window.get_focus();
    if (now == &address)
        return focusField(window.searchBox());
    if (now == &window.searchBox())
        return view.takeFocus();
    const bool inPage = now && (now == &view.widget() || now->is_ancestor(view.widget()));
    if (inPage && view.focusQuestion())
        return;
    focusField(address);
}

void Browser::Parts::firstActivation()
{
    // The stored engine choices are in place before the first page loads.
    if (askedEarly.empty())
        internetsettings::apply(settings, view);
    firstPageAsked = true;
    if (!firstMessage.empty())
        runLater(*this, [this, message = firstMessage] { sayInvalid(message); });
    // An address handed over after the first page was asked for replaces it.
    if (!firstAddress.empty()) {
        // Started to show a page: the keyboard goes to it, as the user asked
        // for nothing else.
        pageFocus.expect();
        if (firstAddress != askedEarly)
            view.navigate(firstAddress);
    } else {
        choosingFirstPage = true;
        window.engineTabs().select(HomePageTab);
        choosingFirstPage = false;
    }
    // What the page did while the splash waited shows now, in order.
    view.handOverEvents();
}

std::string Browser::requestFirstPage(SettingsStore &settings, PageView &view,
                                      const std::vector<std::pair<std::string, std::string>> &handedOver)
{
    view.holdEvents();
    std::string address;
    for (const auto &[argument, folder] : handedOver) {
        const outsideaddress::Verdict verdict = outsideaddress::judge(argument, folder);
        if (verdict.kind == outsideaddress::Verdict::Open)
            address = verdict.text;
    }
    if (address.empty())
        address = urlinput::fromUserInput(HomePage::tabTarget(settings));
    internetsettings::apply(settings, view);
    view.navigate(address);
    return address;
}

Browser::Browser(SettingsStore &settings, Dialogs &dialogs, PageView &view, std::string firstPageAsked,
                 Desktop *desktop)
    : m(std::make_unique<Parts>(settings, dialogs, view, desktop))
{
    m->askedEarly = std::move(firstPageAsked);
    m->connectControls();
    m->connectHistory();
    m->bindCommands();
}

Browser::~Browser() = default;

MainWindow &Browser::window()
{
    return m->window;
}

void Browser::load()
{
    m->window.load();
}

void Browser::Parts::openHandedOver(const std::string &address)
{
    // One page view: an address still on its way gives way to this one.
    if (handedOverPending)
        ++notOpened;
    handedOverPending = true;
    if (firstPageAsked) {
        view.navigate(address);
        byUser(true);
    } else {
        firstAddress = address;
    }
    if (notOpened == 1)
        status.tell("1 other address handed to Skimlark was not opened: it shows one page at a time, "
                    "the last one asked for.");
    else if (notOpened > 1)
        status.tell(std::to_string(notOpened) + " other addresses handed to Skimlark were not opened: it "
                    "shows one page at a time, the last one asked for.");
}

void Browser::Parts::sayInvalid(const std::string &message)
{
    dialogs.message(&window, message, "Skimlark");
}

void Browser::open(const std::string &argument, const std::string &folder)
{
    const outsideaddress::Verdict verdict = outsideaddress::judge(argument, folder);
    switch (verdict.kind) {
    case outsideaddress::Verdict::Ignore:
        break;
    case outsideaddress::Verdict::Open:
        m->openHandedOver(verdict.text);
        break;
    case outsideaddress::Verdict::Refuse:
        m->status.tell(verdict.text);
        break;
    case outsideaddress::Verdict::Invalid:
        // Not over the start: the window and its first page come first.
        if (m->firstPageAsked)
            runLater(*m, [this, message = verdict.text] { m->sayInvalid(message); });
        else
            m->firstMessage = verdict.text;
        break;
    }
}
