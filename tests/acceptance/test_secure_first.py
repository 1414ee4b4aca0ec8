"""How secure a page is, addresses typed without a scheme, and the keyboard:
a page handed over at the first start has it, and F6 goes round the address
bar, the search box and the page."""
import os
import sys

import pyatspi

from skimlark_at import Session, TestAuthority, check, find, key, press, set_text, text_of, wait_for


def mark(session):
    """What the mark at the start of the address bar is read as ("" for none)."""
    field = find(session.find("combo box", "Location:"), "text", "Location:")
    names = [field.getChildAtIndex(i).name for i in range(field.childCount)]
    return names[0] if names else ""


def mark_node(session):
    field = find(session.find("combo box", "Location:"), "text", "Location:")
    return field.getChildAtIndex(0) if field.childCount else None


def box_titled(session, title):
    for role in ("alert", "dialog"):
        box = find(session.app, role, title, showing=True)
        if box is not None:
            return box
    return None


def find_labels(root):
    from skimlark_at import find_all
    return find_all(root, "label") + find_all(root, "text")


def focused(node):
    return node.getState().contains(pyatspi.STATE_FOCUSED)


def main(binary):
    session = Session(binary)
    session.proxy.pages["http://long.test/"] = ("Long", "<p>line</p>" * 400)
    session.proxy.pages["http://news.test/"] = ("News", "news")
    # The news site answers on port 443 without TLS.
    session.proxy.tunnels["news.test:443"] = session.proxy.port
    # The bank's certificate is signed by an authority the program trusts as
    # it trusts the system's.
    authority = None
    if TestAuthority.possible():
        authority = TestAuthority(os.path.join(session.root, "authority"))
        session.proxy.tunnels["bank.test:443"] = session.proxy.serve_tls(*authority.sign("bank.test"))
        session.proxy.pages["https://bank.test/"] = ("Bank", "bank")
    else:
        print("no mount namespace here: the padlock is not checked")
    session.start("http://long.test/", authority=authority)
    try:
        wait_for(lambda: session.window.name == "Skimlark - Long", 60, "the page handed over")
        # The page has the keyboard: Page Down scrolls at once.
        document = wait_for(lambda: find(session.app, "document web", "Long", showing=True), 30, "the page")
        line = wait_for(lambda: find(document, "paragraph"), 30, "the page's first line")
        top = line.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).y
        key("Page_Down")
        wait_for(lambda: line.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).y < top, 10,
                 "Page Down to scroll the page")
        wait_for(lambda: mark(session) == "Not secure", 10, "the not-secure mark (now %r)" % mark(session))

        # F6: the address bar, the search box, the page, the address bar.
        location = find(session.find("combo box", "Location:"), "text", "Location:")
        search = session.find("text", "Search the Internet:")
        for expected in (location, search, None, location):
            key("F6")
            if expected is None:
                # The page has the keyboard again: Page Down scrolls on.
                wait_for(lambda: not focused(search), 10, "F6 to leave the search box")
                top = line.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).y
                key("Page_Down")
                wait_for(lambda: line.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).y < top, 10,
                         "F6 to give the page the keyboard")
            else:
                wait_for(lambda: focused(expected), 10, "F6 to reach %s" % expected.name)

        # Typed without a scheme: https first, then http when no secure
        # connection can be made; the stored text stays as typed.
        set_text(location, "news.test")
        press(session.find("push button", "Surf"))
        wait_for(lambda: session.window.name == "Skimlark - News", 60,
                 "the news page over http (seen %r)" % session.proxy.requests)
        requests = session.proxy.requests
        check("CONNECT news.test:443" in requests and "http://news.test/" in requests,
              "https tried first, then http: %r" % requests)
        check(requests.index("CONNECT news.test:443") < requests.index("http://news.test/"), "%r" % requests)
        wait_for(lambda: mark(session) == "Not secure", 10, "the not-secure mark (now %r)" % mark(session))
        check(b"0=news.test\n" in session.settings_bytes(), "the address kept as typed: %r" % session.settings_bytes())

        if authority:
            set_text(location, "https://bank.test/")
            press(session.find("push button", "Surf"))
            wait_for(lambda: session.window.name == "Skimlark - Bank", 60,
                     "the bank over https (seen %r)" % session.proxy.requests)
            wait_for(lambda: mark(session) == "Secure connection", 10, "the padlock (now %r)" % mark(session))
            # Pressed, the padlock tells the certificate.
            mark_node(session).queryAction().doAction(0)
            box = wait_for(lambda: box_titled(session, "Secure connection"), 20, "the certificate box")
            told = " ".join(text_of(label) for label in find_labels(box))
            for part in ("The connection to bank.test is secure", "Issued to: CN=bank.test",
                         "Issued by: CN=Skimlark Test Authority", "Valid until: "):
                check(part in told, "%r not in %r" % (part, told))
            press(find(box, "push button", "OK"))
    finally:
        session.close()


if __name__ == "__main__":
    main(sys.argv[1])
