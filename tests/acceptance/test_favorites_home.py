"""Home page and favorite buttons, set and used through the menus of the real program."""
import shutil
import sys
import tempfile

from skimlark_at import (Session, check, find, find_all, press, press_opening_modal, set_text,
                         text_of, wait_for)


def modal(session, role, title):
    return session.wait_find(role, title, showing=True)


def answer_input(session, title, prompt, text):
    box = modal(session, "dialog", title)
    label = find(box, "label")
    check(label is not None and label.name == prompt, "prompt of %r: %r" % (title, label and label.name))
    field = find(box, "text")
    check(text_of(field) == "", "%r starts empty: %r" % (title, text_of(field)))
    set_text(field, text)
    press(find(box, "push button", "OK"))
    wait_for(lambda: find(session.app, "dialog", title, showing=True) is None, 10,
             "%r to close" % title)


def wait_request(session, address, timeout=30):
    wait_for(lambda: address in session.proxy.requests, timeout, "a request for %s" % address)


def home_page(binary):
    # Kept apart from the sessions' own folders, which go when a session closes.
    config = tempfile.mkdtemp(prefix="skimlark-at-config-")
    session = Session(binary, settings={"Home": {"Address": "http://old.test/"}},
                      config_dir=config).start()
    try:
        wait_request(session, "http://old.test/")
        press_opening_modal(session.menu_item("File", "Set My Home Page"))
        answer_input(session, "Enter the URL of your homepage", "Enter the URL of your homepage ",
                     "http://new.test/")
        check(b'Address=http://new.test/' in session.settings_bytes(),
              "stored home page: %r" % session.settings_bytes())
        tab = session.find("page tab", "Home Page")
        check(tab.description == "http://new.test/", "Home Page tab tooltip: %r" % tab.description)
        # Leave the Home Page tab for an engine tab, then come back to it.
        press(session.find("page tab", "  Google  "))
        wait_for(lambda: len(session.proxy.requests) > 1, 30, "the Google tab's request")
        del session.proxy.requests[:]
        press(tab)
        wait_request(session, "http://new.test/")
    finally:
        session.close()

    # The next start opens the new home page first.
    session = Session(binary, config_dir=config).start()
    try:
        wait_for(lambda: session.proxy.requests, 60, "the first request")
        check(session.proxy.requests[0] == "http://new.test/",
              "first request after a restart: %r" % session.proxy.requests)
    finally:
        session.close()
        shutil.rmtree(config, ignore_errors=True)


def favorites(binary):
    session = Session(binary, settings={"Home": {"Address": "http://home.test/"}}).start()
    try:
        session.proxy.pages["http://home.test/"] = ("Home", "home")
        # The picture is asked for only once the page is being shown.
        session.proxy.pages["http://three.test/"] = ("Third Site", '<img src="/shown.png">')
        wait_request(session, "http://home.test/")
        # The caption follows the page title once page events reach the window.
        try:
            wait_for(lambda: session.window.name == "Skimlark - Home", 15, "the caption")
            captions = True
        except AssertionError:
            captions = False

        press_opening_modal(session.menu_item("Edit My Favorite Buttons", "3"))
        answer_input(session, "Enter the URL of your 3rdd favorite website",
                     "Enter the URL of your 3rd favorite website ", "http://three.test/")
        button = session.find("push button", "My 3rd favorite site")
        check(button.description == "http://three.test/", "button 3 tooltip: %r" % button.description)

        press(session.menu_item("Favorite Buttons", "3"))
        wait_request(session, "http://three.test/shown.png")
        if captions:
            wait_for(lambda: session.window.name == "Skimlark - Third Site", 30, "the third site")

        # An empty slot takes the page now shown.
        press_opening_modal(session.menu_item("Favorite Buttons", "10"))
        box = wait_for(lambda: find(session.app, "alert", None, showing=True)
                       or find(session.app, "dialog", None, showing=True), 20, "the message")
        if captions:
            check(box.name == "Third Site was added to your favorites", "message title: %r" % box.name)
        else:
            check(box.name.endswith(" was added to your favorites"), "message title: %r" % box.name)
        texts = [node.name for node in find_all(box, "label") if node.name]
        expected = ("You added http://three.test/ to favorite button 10.  To access the website "
                    "in the future, simply click on button 10.")
        check(texts == [expected], "message text: %r" % texts)
        press(find(box, "push button", "OK"))
        wait_for(lambda: session.find("push button", "My 10th favorite site").description
                 == "http://three.test/", 10, "button 10 tooltip")
        check(b"Address10=http://three.test/" in session.settings_bytes(),
              "stored slot 10: %r" % session.settings_bytes())

        # Now filled, it opens its page.
        del session.proxy.requests[:]
        press(session.menu_item("Favorite Buttons", "10"))
        wait_request(session, "http://three.test/")
    finally:
        session.close()


if __name__ == "__main__":
    home_page(sys.argv[1])
    favorites(sys.argv[1])
