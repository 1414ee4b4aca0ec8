#include "filecommands.h"

#include "browser/dialogs.h"
#include "browser/frmbrowser.h"
#include "browser/pageview.h"

#include <QAction>

const QString FileCommands::OpenFilter = QStringLiteral(
    "All Internet Files (*.hmt,*.html,*.asp,*.shtml,*.js,*.dhtml) | "
    "*.htm;*.html;*.asp;*.shtml;*.js;*.dhtml");

QString FileCommands::qtFilter(const QString &textAndPatterns)
{
    const int bar = textAndPatterns.indexOf(u'|');
    if (bar < 0)
        return textAndPatterns;
    const QString text = textAndPatterns.left(bar).trimmed();
    QStringList patterns;
    for (const QString &pattern : textAndPatterns.mid(bar + 1).split(u';', Qt::SkipEmptyParts)) {
        if (!pattern.trimmed().isEmpty())
            patterns << pattern.trimmed();
    }
    // Qt takes the patterns from the last parentheses, so the text keeps its own.
    return QStringLiteral("%1 (%2)").arg(text, patterns.join(u' '));
}

FileCommands::FileCommands(frmBrowser &window) : QObject(&window), m_window(window)
{
    const struct { const char *item; void (FileCommands::*command)(); } items[] = {
        {"mnuopen", &FileCommands::open},
        {"mnusave", &FileCommands::save},
        {"mnuprint", &FileCommands::print},
        {"mnuprintpreview", &FileCommands::printPreview},
    };
    for (const auto &entry : items) {
        if (QAction *action = window.menuItem(QLatin1String(entry.item)))
            connect(action, &QAction::triggered, this, entry.command);
    }
}

void FileCommands::open()
{
    m_window.WebBrowser1->takeFocus();
    const QString path = m_window.dialogs().openFile(&m_window, qtFilter(OpenFilter));
    if (!path.isEmpty())
        m_window.WebBrowser1->navigate(path);
}

void FileCommands::save()
{
    m_window.WebBrowser1->saveAs();
}

void FileCommands::print()
{
    m_window.WebBrowser1->takeFocus();
    // A view that cannot print leaves the window as it was.
    m_window.WebBrowser1->print();
}

void FileCommands::printPreview()
{
    m_window.WebBrowser1->takeFocus();
    m_window.WebBrowser1->printPreview();
}
