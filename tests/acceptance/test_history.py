"""Where the user has been, found again after a restart: in the History window,
and offered in the address bar while they type part of a page's title."""
import sys

from skimlark_at import Session, check, find, key, press, set_text, text_of, type_text, wait_for

START = "http://www.velmora.example/skimlark.htm"
PAGE = "http://kitchen.test/copper"
TITLE = "Copper pots and pans"


def surf(session, address):
    location = find(session.find("combo box", "Location:"), "text", "Location:")
    set_text(location, address)
    press(session.find("push button", "Surf"))


def visit_action(history):
    """The visit's row once it can be opened: the list is rebuilt as the search narrows it,
    so a row found a moment before may already be gone."""
    try:
        cell = find(find(history, "tree table", "Visits"), "table cell", TITLE)
        action = cell.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        return (action, names.index("activate")) if "activate" in names else None
    except Exception:
        return None


def main(binary):
    session = Session(binary)
    session.proxy.pages[PAGE] = (TITLE, "Pots")
    try:
        session.start()
        wait_for(lambda: session.panel(2) == START, 90, "the start page (panel 2 %r)" % session.panel(2))
        surf(session, PAGE)
        wait_for(lambda: session.window.name == "Skimlark - " + TITLE, 30,
                 "the kitchen page (caption %r)" % session.window.name)
        press(session.menu_item("File", "Exit"))
        check(session.wait_exit() is not None, "the program did not end on Exit")

        # A new run: the visit is in the History window and opens from there.
        session.proxy.requests.clear()
        session.start()
        wait_for(lambda: session.panel(2) == START, 90, "the start page again (panel 2 %r)" % session.panel(2))
        press(session.menu_item("File", "History"))
        history = session.wait_find("frame", "History", showing=True)
        set_text(find(history, "text", "Search history"), "pots")
        action, activate = wait_for(lambda: visit_action(history), 20, "the visit in the History window")
        action.doAction(activate)
        wait_for(lambda: PAGE in session.proxy.requests, 30,
                 "the page opened from the History window (seen %r)" % session.proxy.requests)
        wait_for(lambda: session.window.name == "Skimlark - " + TITLE, 30,
                 "the page from the History window (caption %r)" % session.window.name)

        # Part of its title typed in the address bar offers it; Down and Enter open it.
        press(session.find("push button", "Home"))
        wait_for(lambda: session.panel(2) == START, 30, "the start page (panel 2 %r)" % session.panel(2))
        session.proxy.requests.clear()
        location = find(session.find("combo box", "Location:"), "text", "Location:")
        location.queryComponent().grabFocus()
        set_text(location, "")
        type_text("pans")
        offered = wait_for(lambda: find(session.find("window", "Suggestions", showing=True), "table cell", TITLE),
                           20, "the page offered while typing")
        check(offered is not None, "no suggestion")
        check(text_of(location) == "pans", "the typing was changed: %r" % text_of(location))
        key("Down")
        key("Return")
        wait_for(lambda: PAGE in session.proxy.requests, 30,
                 "the suggestion chosen with the keyboard (seen %r)" % session.proxy.requests)
        wait_for(lambda: session.window.name == "Skimlark - " + TITLE, 30,
                 "the suggested page (caption %r)" % session.window.name)
    finally:
        session.close()


if __name__ == "__main__":
    main(sys.argv[1])
