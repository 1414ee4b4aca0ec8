#include "navigationwiring.h"

#include "browser/frmbrowser.h"
#include "navigationtoolbar.h"
#include "pagestatus.h"
#include "toolbaricons.h"

#include <QAction>
#include <QToolBar>

void wireNavigation(frmBrowser &window)
{
    // The toolbar's pictures: the button's key names its picture.
    for (QAction *button : window.Toolbar1->actions()) {
        if (!button->isSeparator())
            button->setIcon(toolbaricons::icon(toolbaricons::pictureFor(button->objectName())));
    }
    new NavigationToolbar(window);
    new PageStatus(window);
}
