#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>

// What a page may do. The page view asks before it lets the engine go on:
// may this navigation, this new window, this box happen, and under which
// name. It decides from addresses and what it has counted, never from the
// engine itself, so it can be read (and tested) at a glance.
class PageGuard
{
public:
    // What becomes of a page's wish to open an address.
    enum class Open {
        Allow,
        Refuse,
        // Another program's address, after a click: the user is asked first.
        AskOtherProgram,
    };
    // A frame's or the page's own navigation. `localScheme`: a scheme the
    // program registered as its own.
    Open navigation(const std::string &target, bool userGesture, bool localScheme) const;
    // A new window the page asks for. Allow means the page navigates itself
    // there: this browser has one page view.
    Open newWindow(const std::string &target, bool userGesture, bool localScheme) const;
    // The user clicked or typed in the page: in its top document, or in a
    // frame that may or may not navigate the top page (its sandbox says);
    // `when` in microseconds of a steady clock.
    void userActed(bool inFrame, bool frameMayLeadTop, long long when);
    // Whether a new window asked for with the user's gesture at `when` may
    // replace the page: only when the user last acted in the page itself or
    // in a frame that may navigate it, so recently that it was that gesture.
    bool mayReplacePage(long long when) const;

    enum class Box {
        Refuse,
        Show,
        // The fourth box in a row and later: it offers to block the rest.
        ShowOfferingBlock,
    };
    // Counts a box the page causes (a script box, a print, a sign-in, a save
    // box ...); Refuse once the user blocked the page's boxes.
    Box nextBox();
    void blockBoxes() { m_blocked = true; }
    // A new document in the page: a fresh count, and its frames forgotten.
    void pageChanged();
    // A frame of the page (the page itself included) has this origin
    // ("http://host:port", or "null" for an opaque one).
    void frameSeen(const std::string &origin);
    // Who a page's own question comes from, as the user should read it: the
    // page's host; "an embedded page on <host>" when frames of other origins
    // could have asked; "an embedded page" while no frame of the document has
    // said which origin it has (none could be named); "" when the page has no host.
    std::string asker(const std::string &pageAddress) const;
    // The title of a box the page's script opened: "<asker> says", or "a page says".
    std::string boxTitle(const std::string &pageAddress) const;

    // What a page may ask for.
    enum class Permission {
        Location,
        Notifications,
        Camera,
        Microphone,
        CameraAndMicrophone,
        Screen,
        Clipboard,
        PointerLock,
        DeviceInfo,
        MediaKeys,
        SiteData,
        Other
    };
    // The user's answer for this origin and kind, kept until the program closes.
    std::optional<bool> recall(const std::string &origin, Permission kind) const;
    void remember(const std::string &origin, Permission kind, bool allowed);
    // "<who> wants to use your camera. Allow?"
    static std::string permissionQuestion(Permission kind, const std::string &who);
    // The kind behind a name the Permissions API asks about ("camera"); nullopt if unknown.
    static std::optional<Permission> permissionNamed(const std::string &name);

    // What a sign-in question says: who asks (the engine's word, never the
    // site's), the site's realm only as quoted text, and a warning when the
    // password would travel unencrypted.
    static std::string signInText(const std::string &host, const std::string &realm, bool plainText, bool proxy);

    // Whether a certificate with these problems (GTlsCertificateFlags) may be
    // accepted by the user: only an unknown issuer, another site's name, or a
    // date outside its validity.
    static bool certificateMayBeAccepted(unsigned problems);
    // The problems in words, for the error page and the question.
    static std::string certificateProblems(unsigned problems);

    // The scheme of an address in lower case; "" when it has none.
    static std::string schemeOf(const std::string &address);
    // "scheme://host[:port]" as a page's script writes its origin; "null"
    // for an address without a host.
    static std::string originOf(const std::string &address);
    // The host of an address as the user should read it; "" for an opaque
    // origin (data:, about:blank, a local file).
    static std::string shownHost(const std::string &address);

private:
    int m_boxesInRow = 0;
    bool m_blocked = false;
    std::set<std::string> m_frameOrigins;
    struct Act { bool leadsTop; long long when; };
    std::optional<Act> m_lastAct;
    std::map<std::pair<std::string, int>, bool> m_answers;
};
