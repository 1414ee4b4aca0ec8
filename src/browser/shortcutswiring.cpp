#include "shortcutswiring.h"

#include "browser/frmbrowser.h"

void wireShortcuts(frmBrowser &window)
{
    Q_UNUSED(window);
}
