#include "navigationwiring.h"

void wireNavigation(frmBrowser &)
{
}
