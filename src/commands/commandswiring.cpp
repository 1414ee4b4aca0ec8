#include "commands/commandswiring.h"

#include "window/frmbrowser.h"
#include "commands/colourscheme.h"
#include "commands/filecommands.h"
#include "commands/internetsettings.h"
#include "commands/toolscommands.h"

// The page engine's name and version, from the engine profile (the only
// place besides the page view that talks to the engine).
namespace engineprofile {
std::string engineVersion();
}

namespace {
void onActivate(frmBrowser &window, const std::string &item, std::function<void()> command)
{
    if (Gtk::MenuItem *menuItem = window.menuItem(item))
        menuItem->signal_activate().connect(std::move(command));
}

std::string engineText()
{
    const std::string version = engineprofile::engineVersion();
    return version.rfind("WebKitGTK", 0) == 0 ? version : "WebKitGTK " + version;
}
} // namespace

void wireCommands(frmBrowser &window)
{
    auto &colours = window.keep(std::make_unique<ColourScheme>(
        window.settings(), window.dialogs(), window.Combo1, window.Text1,
        window.commonDialogColour, &frmBrowser::setFieldColour, &window));
    for (const ColourScheme::Command &command : ColourScheme::Commands) {
        const ColourScheme::Target target = command.target;
        onActivate(window, command.menuItem, [&colours, target] { colours.change(target); });
    }

    auto &files = window.keep(std::make_unique<FileCommands>(window.WebBrowser1, window.dialogs(), &window));
    onActivate(window, "mnuopen", [&files] { files.open(); });
    onActivate(window, "mnusave", [&files] { files.save(); });
    onActivate(window, "mnuprint", [&files] { files.print(); });
    onActivate(window, "mnuprintpreview", [&files] { files.printPreview(); });
    onActivate(window, "mnumarrowgatehelp", [&files] { files.showHelp(); });

    auto &tools = window.keep(std::make_unique<ToolsCommands>(
        window.WebBrowser1, window.settings(), window.dialogs(), window.Combo1, window,
        engineText()));
    onActivate(window, "mnuinternetproperites", [&tools] { tools.showInternetProperties(); });
    onActivate(window, "mnuaboutquendle", [&tools] { tools.showAbout(); });

    // The stored engine choices are in place before the first page loads.
    window.firstActivated.connect([&window] {
        internetsettings::apply(window.settings(), window.WebBrowser1);
    });
}
