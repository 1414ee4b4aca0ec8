/* Loaded into every page process. It tells the page view what the browser
 * process would otherwise have to ask the page's scripts for: each request a
 * content filter blocked, each frame's origin and where the user clicks or
 * types. Sent as plain messages, so the browser process needs no script
 * engine of its own to read them. */
#include "engine/pagemessages.h"

#include <string.h>
#include <webkit2/webkit-web-extension.h>

static WebKitWebExtension *our_extension;
/* Our scripts' own world: the page's scripts can neither see nor call
 * what runs there, so they cannot post in our name. */
static WebKitScriptWorld *guard_world;

static const char BlockedText[] = "Content blocker prevented frame displaying ";

/* Run in every frame as its document starts, with the function that posts
 * to the view. A blank top page (the page process started ahead) has no
 * frames to name. The origin is said again when a document comes back from
 * the back and forward cache, ahead of the page's own listeners. A click or
 * key in a frame may lead the top page only as the frame's sandbox allows
 * (the engine answers an empty "_top" open without going anywhere, and only
 * where it may). */
static const char GuardScript[] =
    "(function(post){"
    "if(self!==top||location.protocol!=='about:'){"
    "var say=function(){post('frame',String(self.origin))};say();"
    "addEventListener('pageshow',function(e){if(e.persisted)say()},true)}"
    "function acted(e){if(!e.isTrusted)return;var leads=false;"
    "if(self!==top){try{leads=!!open('','_top')}catch(x){}}"
    "post('activation',self===top?'page':leads?'frame leading':'frame')}"
    "['pointerdown','mousedown','mouseup','click','keydown','keyup','touchend'].forEach(function(type){"
    "addEventListener(type,acted,true)})})";

static void send(WebKitWebPage *page, const char *name, GVariant *parameters)
{
    webkit_web_page_send_message_to_view(page, webkit_user_message_new(name, parameters), NULL, NULL, NULL);
}

static void console_message(WebKitWebPage *page, WebKitConsoleMessage *message, gpointer data)
{
    (void)data;
    const char *text = webkit_console_message_get_text(message);
    /* A page's own console.log() comes from the console API, never from here. */
    if (webkit_console_message_get_source(message) != WEBKIT_CONSOLE_MESSAGE_SOURCE_OTHER
        || webkit_console_message_get_level(message) != WEBKIT_CONSOLE_MESSAGE_LEVEL_INFO || !text
        || strncmp(text, BlockedText, sizeof BlockedText - 1) != 0)
        return;
    send(page, SKIMLARK_BLOCKED_MESSAGE, NULL);
}

static void guard_posted(const char *kind, const char *text, gpointer data)
{
    WebKitWebPage *page = webkit_web_extension_get_page(our_extension, *(guint64 *)data);
    if (!page || !kind || !text || !g_utf8_validate(text, -1, NULL))
        return;
    if (strcmp(kind, "frame") == 0)
        send(page, SKIMLARK_FRAME_MESSAGE, g_variant_new_string(text));
    else if (strcmp(kind, "activation") == 0)
        send(page, SKIMLARK_ACTIVATION_MESSAGE, g_variant_new_string(text));
}

/* A frame's new document, before any of the page's scripts run in it. */
static void window_cleared(WebKitScriptWorld *world, WebKitWebPage *page, WebKitFrame *frame, gpointer data)
{
    (void)world;
    (void)data;
    JSCContext *context = webkit_frame_get_js_context_for_script_world(frame, guard_world);
    if (!context)
        return;
    guint64 *page_id = g_new(guint64, 1);
    *page_id = webkit_web_page_get_id(page);
    JSCValue *post = jsc_value_new_function(context, NULL, G_CALLBACK(guard_posted), page_id, g_free, G_TYPE_NONE, 2,
                                            G_TYPE_STRING, G_TYPE_STRING);
    JSCValue *guard = jsc_context_evaluate(context, GuardScript, -1);
    if (jsc_value_is_function(guard)) {
        JSCValue *result = jsc_value_function_call(guard, JSC_TYPE_VALUE, post, G_TYPE_NONE);
        g_object_unref(result);
    }
    /* An exception (none is expected) must not stay for the page's next use of this world. */
    jsc_context_clear_exception(context);
    g_object_unref(guard);
    g_object_unref(post);
    g_object_unref(context);
}

static void page_created(WebKitWebExtension *extension, WebKitWebPage *page, gpointer data)
{
    (void)extension;
    (void)data;
    g_signal_connect(page, "console-message-sent", G_CALLBACK(console_message), NULL);
}

G_MODULE_EXPORT void webkit_web_extension_initialize(WebKitWebExtension *extension)
{
    our_extension = extension;
    guard_world = webkit_script_world_new_with_name("skimlark-guard");
    g_signal_connect(webkit_script_world_get_default(), "window-object-cleared", G_CALLBACK(window_cleared), NULL);
    g_signal_connect(extension, "page-created", G_CALLBACK(page_created), NULL);
}
