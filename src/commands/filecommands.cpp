#include "commands/filecommands.h"

#include "interfaces/dialogs.h"
#include "interfaces/pageview.h"
#include "pagerules/makersite.h"
#include "util/urlinput.h"

const std::string FileCommands::OpenFilter =
    "All Internet Files (*.hmt,*.html,*.asp,*.shtml,*.js,*.dhtml) | "
    "*.htm;*.html;*.asp;*.shtml;*.js;*.dhtml";

FileCommands::FileCommands(PageView &view, Dialogs &dialogs, Gtk::Window *parent)
    : m_view(view), m_dialogs(dialogs), m_parent(parent)
{
}

bool FileCommands::open()
{
    m_view.takeFocus();
    const std::string path = m_dialogs.openFile(m_parent, OpenFilter);
    if (path.empty())
        return false;
    m_view.navigate(urlinput::fromUserInput(path));
    return true;
}

void FileCommands::save()
{
    // The view asks where and says what went wrong itself.
    m_view.saveAs();
}

void FileCommands::print()
{
    m_view.takeFocus();
    // A view that cannot print leaves the window as it was.
    m_view.print();
}

void FileCommands::printPreview()
{
    m_view.takeFocus();
    m_view.printPreview();
}

bool FileCommands::showHelp()
{
    m_view.navigate(makersite::HelpPage);
    return true;
}
