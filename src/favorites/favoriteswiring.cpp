#include "favoriteswiring.h"

void wireFavorites(frmBrowser &)
{
}
