#include "commandswiring.h"

#include "browser/frmbrowser.h"
#include "colourscheme.h"
#include "filecommands.h"
#include "internetsettings.h"
#include "toolscommands.h"

void wireCommands(frmBrowser &window)
{
    new ColourScheme(window);
    new FileCommands(window);
    new ToolsCommands(window);

    // The stored engine choices are in place before the first page loads.
    QObject::connect(&window, &frmBrowser::firstActivated, &window, [&window] {
        internetsettings::apply(window.settings(), window.WebBrowser1);
    });
}
