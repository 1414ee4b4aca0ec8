/* Loaded into every page process: tells the page view each request that a
 * content filter blocked. The engine says so only on the page's console, as
 * a message of its own kind that a page's script cannot write. */
#include "engine/blockcount.h"

#include <string.h>
#include <webkit2/webkit-web-extension.h>

static const char BlockedText[] = "Content blocker prevented frame displaying ";

static void console_message(WebKitWebPage *page, WebKitConsoleMessage *message, gpointer data)
{
    (void)data;
    const char *text = webkit_console_message_get_text(message);
    /* A page's own console.log() comes from the console API, never from here. */
    if (webkit_console_message_get_source(message) != WEBKIT_CONSOLE_MESSAGE_SOURCE_OTHER
        || webkit_console_message_get_level(message) != WEBKIT_CONSOLE_MESSAGE_LEVEL_INFO || !text
        || strncmp(text, BlockedText, sizeof BlockedText - 1) != 0)
        return;
    webkit_web_page_send_message_to_view(page, webkit_user_message_new(SKIMLARK_BLOCKED_MESSAGE, NULL), NULL, NULL,
                                         NULL);
}

static void page_created(WebKitWebExtension *extension, WebKitWebPage *page, gpointer data)
{
    (void)extension;
    (void)data;
    g_signal_connect(page, "console-message-sent", G_CALLBACK(console_message), NULL);
}

G_MODULE_EXPORT void webkit_web_extension_initialize(WebKitWebExtension *extension)
{
    g_signal_connect(extension, "page-created", G_CALLBACK(page_created), NULL);
}
