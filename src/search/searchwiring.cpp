#include "searchwiring.h"

void wireSearch(frmBrowser &)
{
}
