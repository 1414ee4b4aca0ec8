#include "commandswiring.h"

#include "browser/frmbrowser.h"

void wireCommands(frmBrowser &window)
{
    Q_UNUSED(window);
}
