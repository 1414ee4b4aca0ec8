#include "searchwiring.h"

#include "browser/frmbrowser.h"

void wireSearch(frmBrowser &window)
{
    Q_UNUSED(window);
}
