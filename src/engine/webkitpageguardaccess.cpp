#include "engine/pageguardrules.h"
#include "engine/webkitpageguardimpl.h"

using pageguard::Permission;
using pageguard::ProgramTitle;

namespace {

const char FullScreenNotice[] = "Press Esc to leave full screen";
// Scripts of ours that the page must not reach run in a world of their own.
const char GuardWorld[] = "skimlark-guard";

Permission permissionKind(WebKitPermissionRequest *request)
{
    if (WEBKIT_IS_GEOLOCATION_PERMISSION_REQUEST(request))
        return Permission::Location;
    if (WEBKIT_IS_NOTIFICATION_PERMISSION_REQUEST(request))
        return Permission::Notifications;
    if (WEBKIT_IS_USER_MEDIA_PERMISSION_REQUEST(request)) {
        auto *media = WEBKIT_USER_MEDIA_PERMISSION_REQUEST(request);
        if (webkit_user_media_permission_is_for_display_device(media))
            return Permission::Screen;
        const bool audio = webkit_user_media_permission_is_for_audio_device(media);
        const bool video = webkit_user_media_permission_is_for_video_device(media);
        return audio && video ? Permission::CameraAndMicrophone
               : video        ? Permission::Camera
                              : Permission::Microphone;
    }
    if (WEBKIT_IS_CLIPBOARD_PERMISSION_REQUEST(request))
        return Permission::Clipboard;
    if (WEBKIT_IS_POINTER_LOCK_PERMISSION_REQUEST(request))
        return Permission::PointerLock;
    if (WEBKIT_IS_DEVICE_INFO_PERMISSION_REQUEST(request))
        return Permission::DeviceInfo;
    if (WEBKIT_IS_MEDIA_KEY_SYSTEM_PERMISSION_REQUEST(request))
        return Permission::MediaKeys;
    if (WEBKIT_IS_WEBSITE_DATA_ACCESS_PERMISSION_REQUEST(request))
        return Permission::SiteData;
    return Permission::Other;
}

} // namespace

bool WebKitPageGuard::Impl::onPermission(WebKitPermissionRequest *request)
{
    const Permission kind = permissionKind(request);
    std::string key = origin();
    std::string who = pageguard::shownHost(address());
    if (WEBKIT_IS_WEBSITE_DATA_ACCESS_PERMISSION_REQUEST(request)) {
        auto *access = WEBKIT_WEBSITE_DATA_ACCESS_PERMISSION_REQUEST(request);
        const char *requesting =
            webkit_website_data_access_permission_request_get_requesting_domain(access);
        who = requesting ? requesting : "";
        key += std::string("|") + who;
    }
    const auto known = pageguard::PermissionMemory::recall(key, kind);
    if (known) {
        known.value() ? webkit_permission_request_allow(request)
                      : webkit_permission_request_deny(request);
        return TRUE;
    }
    g_object_ref(request);
    auto deny = [request] {
        webkit_permission_request_deny(request);
        g_object_unref(request);
    };
    std::weak_ptr<int> stillHere = alive;
    enqueue({[this, request, kind, key, who, stillHere, deny] {
                 // An earlier answer may have come while this one waited.
                 auto allowed = pageguard::PermissionMemory::recall(key, kind);
                 if (!allowed) {
                     allowed = dialogs.confirm(parent(), pageguard::permissionQuestion(kind, who),
                                               ProgramTitle, "_Allow", "_Deny");
                     pageguard::PermissionMemory::remember(key, kind, *allowed);
                 }
                 if (!*allowed || stillHere.expired())
                     return deny();
                 webkit_permission_request_allow(request);
                 g_object_unref(request);
             },
             deny});
    return TRUE;
}

bool WebKitPageGuard::Impl::onQueryPermission(WebKitPermissionStateQuery *query)
{
    const char *name = webkit_permission_state_query_get_name(query);
    const auto kind = pageguard::permissionNamed(name ? name : "");
    WebKitSecurityOrigin *queried = webkit_permission_state_query_get_security_origin(query);
    gchar *text = queried ? webkit_security_origin_to_string(queried) : nullptr;
    const auto known =
        kind && text ? pageguard::PermissionMemory::recall(text, *kind) : std::nullopt;
    g_free(text);
    webkit_permission_state_query_finish(query, !known   ? WEBKIT_PERMISSION_STATE_PROMPT
                                                : *known ? WEBKIT_PERMISSION_STATE_GRANTED
                                                         : WEBKIT_PERMISSION_STATE_DENIED);
    return TRUE;
}

bool WebKitPageGuard::Impl::onEnterFullScreen()
{
    const std::string key = origin();
    auto allowed = pageguard::PermissionMemory::recall(key, Permission::FullScreen);
    if (!allowed && !asking) {
        // The engine wants the answer now, so this one question is asked in place.
        std::weak_ptr<int> stillHere = alive;
        asking = true;
        allowed = dialogs.confirm(
            parent(),
            pageguard::permissionQuestion(Permission::FullScreen, pageguard::shownHost(address())),
            ProgramTitle, "_Allow", "_Deny");
        if (stillHere.expired())
            return TRUE;
        asking = false;
        pageguard::PermissionMemory::remember(key, Permission::FullScreen, *allowed);
        schedule();
    }
    if (!allowed.value_or(false))
        return TRUE;
    fullScreen = true;
    watchEscape();
    showNotice();
    return FALSE;
}

void WebKitPageGuard::Impl::onLeaveFullScreen()
{
    fullScreen = false;
    hideNotice();
}

void WebKitPageGuard::Impl::showNotice()
{
    if (!notice)
        return;
    const std::string host = pageguard::shownHost(address());
    notice->set_text((host.empty() ? std::string() : host + "\n") + FullScreenNotice);
    notice->show();
    noticeTimer.disconnect();
    noticeTimer = Glib::signal_timeout().connect(
        [this] {
            hideNotice();
            return false;
        },
        4000);
}

void WebKitPageGuard::Impl::hideNotice()
{
    noticeTimer.disconnect();
    if (notice)
        notice->hide();
}

void WebKitPageGuard::Impl::watchEscape()
{
    GtkWidget *top = gtk_widget_get_toplevel(GTK_WIDGET(view));
    if (top == toplevel || !GTK_IS_WINDOW(top))
        return;
    unwatchEscape();
    toplevel = top;
    g_object_add_weak_pointer(G_OBJECT(toplevel), reinterpret_cast<gpointer *>(&toplevel));
    g_signal_connect(toplevel, "key-press-event",
                     G_CALLBACK(+[](GtkWidget *, GdkEventKey *event, Impl *self) -> gboolean {
                         return self->onKey(event);
                     }),
                     this);
}

void WebKitPageGuard::Impl::unwatchEscape()
{
    if (!toplevel)
        return;
    g_signal_handlers_disconnect_by_data(toplevel, this);
    g_object_remove_weak_pointer(G_OBJECT(toplevel), reinterpret_cast<gpointer *>(&toplevel));
    toplevel = nullptr;
}

// Esc leaves full screen whatever the page does with keys.
gboolean WebKitPageGuard::Impl::onKey(GdkEventKey *event)
{
    if (!fullScreen || event->keyval != GDK_KEY_Escape)
        return FALSE;
    leaveFullScreen();
    return TRUE;
}

void WebKitPageGuard::Impl::leaveFullScreen()
{
    hideNotice();
    webkit_web_view_evaluate_javascript(view, "document.exitFullscreen()", -1, GuardWorld, nullptr,
                                        nullptr, nullptr, nullptr);
}

bool WebKitPageGuard::Impl::onFileChooser(WebKitFileChooserRequest *request)
{
    g_object_ref(request);
    auto cancel = [request] {
        webkit_file_chooser_request_cancel(request);
        g_object_unref(request);
    };
    const std::string title = pageguard::boxTitle(address());
    std::weak_ptr<int> stillHere = alive;
    enqueue({[this, request, title, stillHere, cancel] {
                 // WebKitGTK does not tell a folder request (webkitdirectory) apart.
                 const auto files = dialogs.pageOpenFiles(
                     parent(), title, webkit_file_chooser_request_get_select_multiple(request),
                     false);
                 if (files.empty() || stillHere.expired())
                     return cancel();
                 std::vector<const gchar *> paths;
                 for (const std::string &file : files)
                     paths.push_back(file.c_str());
                 if (!webkit_file_chooser_request_get_select_multiple(request))
                     paths.resize(1);
                 paths.push_back(nullptr);
                 webkit_file_chooser_request_select_files(request, paths.data());
                 g_object_unref(request);
             },
             cancel});
    return TRUE;
}
