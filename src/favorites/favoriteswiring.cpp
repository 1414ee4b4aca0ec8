#include "favoriteswiring.h"

#include "browser/frmbrowser.h"

void wireFavorites(frmBrowser &window)
{
    Q_UNUSED(window);
}
