"""First run and a stored engine: what start-up restores, read through the accessibility bus."""
import sys

from skimlark_at import (Session, check, find, find_all, is_checked, is_visible, message_box, press, text_of,
                         wait_for)

START = "http://www.velmora.example/skimlark.htm"
HIDDEN = ["Search.com", "Seekways", "Seekways", "Fox News Search"]


def engine_items(session):
    return find_all(session.menu_item("Integrated Search Engine"), "check menu item")


def first_run(binary):
    session = Session(binary).start()
    try:
        name = session.window.name
        check(name == "Skimlark" or name.startswith("Skimlark - "), "main window caption: %r" % name)

        items = engine_items(session)
        check(len(items) == 18, "engine items: %r" % [i.name for i in items])
        checked = [i.name for i in items if is_checked(i)]
        check(checked == ["Google"], "checked engine items on a first run: %r" % checked)
        hidden = [i.name for i in items if not is_visible(i)]
        check(hidden == HIDDEN, "hidden engine items: %r" % hidden)
        # Captions come without their access-key marks.
        session.menu_item("File", "Exit")
        session.menu_item("Edit My Favorite Buttons", "10")

        for n, caption in enumerate(["My favorite site", "My 2nd favorite site"], start=1):
            button = session.find("push button", caption)
            check(button is not None, "favorite button %d" % n)
            check(button.description == "Click here to add current website to favorite #%d" % n,
                  "favorite %d tooltip: %r" % (n, button.description))
        check(session.find("push button", "Search") and session.find("push button", "Surf"),
              "the Search and Surf buttons")
        check(session.find("text", "Search the Internet:") is not None, "the search box")
        combo = session.find("combo box", "Location:")
        check(combo is not None and find(combo, "text", "Location:") is not None,
              "the address bar and its text")

        tabs = session.find("page tab list", "Search engines")
        names = [t.name for t in find_all(tabs, "page tab")]
        check(len(names) == 10 and names[0] == "Home Page" and names[2] == "  Yahoo  ",
              "engine tabs: %r" % names)

        bar = session.find("status bar")
        roles = [bar.getChildAtIndex(i).getRoleName() for i in range(bar.childCount)]
        check(roles == ["label"] * 3, "status bar panels: %r" % roles)

        # The referral address leads to the start page, answered by the program itself.
        wait_for(lambda: session.panel(1) == "Got it" and session.panel(2) == START, 90,
                 "the start page (panel 2 %r)" % session.panel(2))
        wait_for(lambda: session.find("heading", "Welcome to Skimlark")
                 or any(text_of(h) == "Welcome to Skimlark" for h in find_all(session.app, "heading")),
                 30, "the start page's heading over the accessibility bus")
        check(session.window.name == "Skimlark - Welcome to Skimlark", "caption %r" % session.window.name)
        # The referral left no step behind it: there is nothing to go back to.
        press(session.find("push button", "Back"))
        box = message_box(session, "You're as back as you're gonna get!")
        press(find(box, "push button", "OK"))
        check(session.panel(2) == START, "Back left the start page: panel 2 %r" % session.panel(2))
        check(session.proxy.requests == [], "requests left the machine: %r" % session.proxy.requests)
    finally:
        session.close()


def stored_seekways(binary):
    session = Session(binary, settings={"Home": {"Engine": "seekways"}}).start()
    try:
        items = engine_items(session)
        marked = [(i.name, is_visible(i)) for i in items if is_checked(i)]
        check(marked == [("Seekways", False), ("Seekways", False)], "marks with seekways: %r" % marked)
    finally:
        session.close()


if __name__ == "__main__":
    first_run(sys.argv[1])
    stored_seekways(sys.argv[1])
