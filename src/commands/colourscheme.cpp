#include "colourscheme.h"

#include "browser/dialogs.h"
#include "browser/frmbrowser.h"
#include "colournumber.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>

namespace {
struct Command
{
    ColourScheme::Target target;
    const char *menuItem;
    const QString &key;
    QPalette::ColorRole role;
    bool addressBar;
};

const Command Commands[] = {
    {ColourScheme::Target::AddressBarText, "mnuchangefontcoloraddressbar",
     keys::AddressbarFontColor, QPalette::Text, true},
    {ColourScheme::Target::AddressBarBackground, "mnuchangebackgroundcoloraddressbar",
     keys::AddressbarBackgroundColor, QPalette::Base, true},
    {ColourScheme::Target::SearchBoxText, "mnuchangefontcolorsearchbox",
     keys::SearchboxFontColor, QPalette::Text, false},
    {ColourScheme::Target::SearchBoxBackground, "mnuchangebackgroundcolorsearchbox",
     keys::SearchboxBackgroundColor, QPalette::Base, false},
};
} // namespace

ColourScheme::ColourScheme(frmBrowser &window) : QObject(&window), m_window(window)
{
    for (const Command &command : Commands) {
        if (QAction *item = window.menuItem(QLatin1String(command.menuItem))) {
            const Target target = command.target;
            connect(item, &QAction::triggered, this, [this, target] { change(target); });
        }
    }
}

void ColourScheme::change(Target target)
{
    const Command *command = nullptr;
    for (const Command &candidate : Commands) {
        if (candidate.target == target)
            command = &candidate;
    }
    if (!command)
        return;

    // The picker starts on the colour last accepted in any of the four commands.
    const std::optional<QColor> picked =
        m_window.dialogs().pickColour(&m_window, m_window.commonDialogColour);
    if (!picked || !picked->isValid())
        return;
    // Stored colours have no transparency; show exactly what is stored.
    QColor colour = picked->toRgb();
    colour.setAlpha(255);
    m_window.commonDialogColour = colour;

    QWidget *field = command->addressBar ? static_cast<QWidget *>(m_window.Combo1)
                                         : static_cast<QWidget *>(m_window.Text1);
    frmBrowser::setFieldColour(field, command->role, colour);
    m_window.settings().write(keys::App, keys::Home, command->key,
                              colournumber::textFromColor(colour));
}
