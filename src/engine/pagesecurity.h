#pragma once

#include "interfaces/pageview.h"

#include <string>

typedef struct _WebKitWebView WebKitWebView;

namespace pagesecurity {

// What the engine knows of how the page on screen arrived: a padlock needs
// https, a certificate the engine accepted without an exception and no
// insecure content on the page.
PageView::Security of(WebKitWebView *view, const std::string &uri, bool insecureContent);

// The explanation shown at `uri` in place of a page whose certificate the
// engine refused: not secure, and why.
PageView::Security refused(const std::string &uri, unsigned problems);

} // namespace pagesecurity
