"""How secure a page is, addresses typed without a scheme, and the keyboard:
a page handed over at the first start has it, and F6 goes round the address
bar, the search box and the page."""
import os
import sys

import pyatspi

from skimlark_at import Session, TestAuthority, check, find, find_all, key, press, set_text, text_of, wait_for


def mark(session):
    """The mark at the start of the address bar, read as its name says, or None."""
    field = find(session.find("combo box", "Location:"), "text", "Location:")
    return field.getChildAtIndex(0) if field.childCount else None


def marked(session, name):
    return wait_for(lambda: mark(session) if mark(session) and mark(session).name == name else None, 10,
                    "the mark %r" % name)


def page_down_scrolls(line):
    top = line.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).y
    key("Page_Down")
    wait_for(lambda: line.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).y < top, 10, "Page Down to scroll")


def main(binary):
    session = Session(binary)
    proxy = session.proxy
    proxy.pages["http://long.test/"] = ("Long", "<p>line</p>" * 400)
    proxy.pages["http://news.test/"] = ("News", "news")
    # The news site answers on port 443 without TLS; the bank's certificate is
    # signed by an authority the program trusts as it trusts the system's.
    proxy.tunnels["news.test:443"] = proxy.port
    # The quiet site has no tunnel: the proxy answers a gateway error for it.
    proxy.pages["http://quiet.test/"] = ("Quiet", "quiet")
    authority = TestAuthority(os.path.join(session.root, "authority")) if TestAuthority.possible() else None
    if authority:
        proxy.tunnels["bank.test:443"] = proxy.serve_tls(*authority.sign("bank.test"))
        proxy.pages["https://bank.test/"] = ("Bank", "bank")
    session.start("http://long.test/", authority=authority)
    try:
        wait_for(lambda: session.window.name == "Skimlark - Long", 60, "the page handed over")
        document = wait_for(lambda: find(session.app, "document web", "Long", showing=True), 30, "the page")
        line = wait_for(lambda: find(document, "paragraph"), 30, "the page's first line")
        page_down_scrolls(line)
        marked(session, "Not secure")

        # F6: the address bar, the search box, the page, the address bar.
        location = find(session.find("combo box", "Location:"), "text", "Location:")
        search = session.find("text", "Search the Internet:")
        for expected in (location, search, None, location):
            key("F6")
            if expected is None:
                wait_for(lambda: not search.getState().contains(pyatspi.STATE_FOCUSED), 10, "F6 to leave")
                page_down_scrolls(line)
            else:
                wait_for(lambda: expected.getState().contains(pyatspi.STATE_FOCUSED), 10, "F6 to %s" % expected.name)

        # Typed without a scheme: https first, then http; kept as typed.
        set_text(location, "news.test")
        press(session.find("push button", "Surf"))
        wait_for(lambda: session.window.name == "Skimlark - News", 60, "news over http (%r)" % proxy.requests)
        check("CONNECT news.test:443" in proxy.requests and
              proxy.requests.index("CONNECT news.test:443") < proxy.requests.index("http://news.test/"),
              "https tried first, then http: %r" % proxy.requests)
        marked(session, "Not secure")
        check(b"0=news.test\n" in session.settings_bytes(), "kept as typed: %r" % session.settings_bytes())
        set_text(location, "quiet.test")
        press(session.find("push button", "Surf"))
        wait_for(lambda: session.window.name == "Skimlark - Quiet", 60, "quiet over http (%r)" % proxy.requests)
        check(proxy.requests.index("CONNECT quiet.test:443") < proxy.requests.index("http://quiet.test/"),
              "https tried first, then http: %r" % proxy.requests)

        if authority:
            set_text(location, "https://bank.test/")
            press(session.find("push button", "Surf"))
            wait_for(lambda: session.window.name == "Skimlark - Bank", 60, "the bank (%r)" % proxy.requests)
            # Pressed, the padlock tells the certificate.
            marked(session, "Secure connection").queryAction().doAction(0)
            box = wait_for(lambda: find(session.app, "alert", "Secure connection", showing=True) or
                           find(session.app, "dialog", "Secure connection", showing=True), 20, "the certificate")
            told = " ".join(text_of(node) for node in find_all(box, "label") + find_all(box, "text"))
            for part in ("The connection to bank.test is secure", "Issued to: CN=bank.test",
                         "Issued by: CN=Skimlark Test Authority", "Valid until: "):
                check(part in told, "%r not in %r" % (part, told))
            press(find(box, "push button", "OK"))
        else:
            print("no mount namespace here: the padlock is not checked")
    finally:
        session.close()


if __name__ == "__main__":
    main(sys.argv[1])
