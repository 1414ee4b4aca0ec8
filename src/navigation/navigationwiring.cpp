#include "navigationwiring.h"

#include "browser/frmbrowser.h"

void wireNavigation(frmBrowser &window)
{
    Q_UNUSED(window);
}
