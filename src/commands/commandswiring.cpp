#include "commandswiring.h"

void wireCommands(frmBrowser &)
{
}
