"""First run and stored engine: what the start-up restores, read through the accessibility bus."""
import sys

from skimlark_at import Session, check, find_all, is_checked, text_of, wait_for

ENGINE_ITEMS = ["DMOZ - Open Directory Project", "Google", "Yahoo", "MSN", "Lycos", "HotBot",
                "WebCrawler", "Alta Vista", "All The Web", "CNET News.com Search",
                "CBS News Search", "CNN News Search", "NBC News Search", "Download.com"]


def engine_menu(session):
    menu = session.menu_item("Integrated Search Engine")
    return [item for item in find_all(menu, "menu item")]


def first_run(binary):
    session = Session(binary).start()
    try:
        check(session.window.name == "Skimlark" or session.window.name.startswith("Skimlark - "),
              "main window caption: %r" % session.window.name)
        checked = [item.name for item in engine_menu(session) if is_checked(item)]
        check(checked == ["Google"], "checked engine items on a first run: %r" % checked)
        toolbar = session.find("tool bar", "Navigation")
        for n, caption in enumerate(["My favorite site", "My 2nd favorite site"], start=1):
            button = session.find("push button", caption)
            check(button is not None, "favorite button %d" % n)
            check(button.description == "Click here to add current website to favorite #%d" % n,
                  "favorite %d tooltip: %r" % (n, button.description))
        # On Linux an editable combo box is named by its text (its label is a
        # relation), and the page events write the address into it.
        combo = session.find("combo box")
        items = find_all(combo, "list item")
        check(len(items) == 1 and items[0].name == "", "visited-address list: %r"
              % [i.name for i in items])
        # The referral address is sent on to the start page, which the address
        # bar then shows.
        start = "http://www.velmora.example/skimlark.htm"
        wait_for(lambda: session.panel(1) == "Got it" and session.panel(2) == start, 60,
                 "the start page (panel 2 %r)" % session.panel(2))
        check(text_of(session.find("text", "Location:")) == start,
              "address bar after the first page: %r" % text_of(session.find("text", "Location:")))
    finally:
        session.close()


def stored_seekways(binary):
    session = Session(binary, settings={"Home": {"Engine": "seekways"}}).start()
    try:
        items = engine_menu(session)
        visible_checked = [i.name for i in items if is_checked(i) and i.name in ENGINE_ITEMS]
        check(visible_checked == [], "visible items checked with seekways: %r" % visible_checked)
        hidden_checked = [i.name for i in items if is_checked(i) and i.name == "Seekways"]
        check(hidden_checked == ["Seekways", "Seekways"], "hidden Seekways marks: %r" % hidden_checked)
    finally:
        session.close()


if __name__ == "__main__":
    first_run(sys.argv[1])
    stored_seekways(sys.argv[1])
