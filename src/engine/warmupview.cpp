#include "engine/warmupview.h"

#include <webkit2/webkit2.h>

WarmUpView::WarmUpView(WebKitWebView *pageView)
    : m_view(WEBKIT_WEB_VIEW(webkit_web_view_new_with_related_view(pageView)))
{
    g_object_ref_sink(m_view);
    webkit_web_view_load_uri(m_view, "about:blank");
}

WarmUpView::~WarmUpView()
{
    gtk_widget_destroy(GTK_WIDGET(m_view));
    g_object_unref(m_view);
}
