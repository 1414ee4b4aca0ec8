"""First run and stored engine: what the start-up restores, read through the accessibility bus."""
import sys

from skimlark_at import Session, check, find_all, is_checked, text_of

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
        combo = session.find("combo box", "Location:")
        items = find_all(combo, "list item")
        check(len(items) == 1 and items[0].name == "", "visited-address list: %r"
              % [i.name for i in items])
        check(text_of(session.find("text", "Location:")) == "", "address bar starts empty")
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
