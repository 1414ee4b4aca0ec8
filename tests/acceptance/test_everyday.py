"""What a person relies on every day: boxes an assistive tool can answer,
words in the address bar, the page taking the keyboard after a surf (links
from other programs are in test_handed_over)."""
import sys

import pyatspi

from skimlark_at import Session, check, find, key, message_box, press, set_text, wait_for

START = "http://www.velmora.example/skimlark.htm"


def boxes_answered_by_an_assistive_tool(binary):
    session = Session(binary).start()
    try:
        wait_for(lambda: session.panel(2) == START, 90, "the start page (panel 2 %r)" % session.panel(2))
        # Pressed through the accessibility bus, the button returns at once and
        # its box can be answered the same way.
        press(session.find("push button", "Forward"))
        box = message_box(session, "You're as foward as you're gonna get!")
        press(find(box, "push button", "OK"))
        wait_for(lambda: message_box_gone(session), 20, "the box to close")
        # The program is still there to use.
        press(session.menu_item("Help", "Skimlark Help"))
        wait_for(lambda: session.panel(2).endswith("skimlarkhelp.htm"), 30, "the help page")
    finally:
        session.close()


def message_box_gone(session):
    return find(session.app, "alert", "Skimlark", showing=True) is None and \
        find(session.app, "dialog", "Skimlark", showing=True) is None


def words_and_focus(binary):
    session = Session(binary).start()
    try:
        wait_for(lambda: session.panel(2) == START, 90, "the start page (panel 2 %r)" % session.panel(2))
        location = find(session.find("combo box", "Location:"), "text", "Location:")

        # Words that can be no host are searched for with the chosen engine.
        set_text(location, "hello world")
        press(session.find("push button", "Surf"))
        wait_for(lambda: "CONNECT www.google.com:443" in session.proxy.requests, 30,
                 "the search for the words (seen %r)" % session.proxy.requests)
        check(not any("hello" in r for r in session.proxy.requests),
              "the words were looked up as a host: %r" % session.proxy.requests)
        wait_for(lambda: session.panel(1) == "Got it", 30, "the search's load to end")

        # After a surf from the address bar the page has the keyboard: Page
        # Down scrolls at once.
        session.proxy.pages["http://long.test/"] = ("Long", "<p>line</p>" * 400)
        location.queryComponent().grabFocus()
        set_text(location, "http://long.test/")
        press(session.find("push button", "Surf"))
        wait_for(lambda: session.window.name == "Skimlark - Long", 30, "the long page")
        document = wait_for(lambda: find(session.app, "document web", "Long", showing=True), 30, "the page")
        line = wait_for(lambda: find(document, "paragraph"), 30, "the page's first line")
        top = line.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).y
        key("Page_Down")
        wait_for(lambda: line.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).y < top, 10,
                 "Page Down to scroll the page")
    finally:
        session.close()


if __name__ == "__main__":
    boxes_answered_by_an_assistive_tool(sys.argv[1])
    words_and_focus(sys.argv[1])
