"""The window's life with a stored home address: first page, page events, Back, closing."""
import sys

from skimlark_at import Session, check, find, message_box, press, press_opening_modal, wait_for

HOME = "http://home.test/"


def first_page_back_and_exit(binary):
    session = Session(binary, settings={"Home": {"Address": HOME}})
    session.proxy.pages["/"] = ("Home test page", "Home")
    session.proxy.pages[HOME] = ("Home test page", "Home")
    stored_before = session.settings_bytes()
    session.start()
    try:
        wait_for(lambda: session.window.name == "Skimlark - Home test page", 60,
                 "the caption of the loaded home page (now %r)" % session.window.name)
        check(session.panel(1) == "Got it", "panel 1 after the load: %r" % session.panel(1))
        check(session.panel(2) == HOME, "panel 2 after the load: %r" % session.panel(2))
        requests = [r for r in session.proxy.requests if r in (HOME, "/")]
        check(len(requests) == 1, "home page requests at start-up: %r" % session.proxy.requests)

        # Back on the first page of the run: the message, and the page stays.
        press_opening_modal(session.find("push button", "Back"))
        box = message_box(session, "You're as back as you're gonna get!")
        press(find(box, "push button", "OK"))
        wait_for(lambda: find(session.app, "alert", "Skimlark", showing=True) is None, 20,
                 "the message to close")
        check(session.window.name == "Skimlark - Home test page",
              "caption after Back: %r" % session.window.name)
        check(len([r for r in session.proxy.requests if r in (HOME, "/")]) == 1,
              "Back loaded a page: %r" % session.proxy.requests)

        # Exit ends the program normally without writing a setting.
        press_opening_modal(session.menu_item("File", "Exit"))
        code = session.wait_exit(30)
        check(code == 0, "exit status after Exit: %r" % code)
        check(session.settings_bytes() == stored_before, "the settings file changed")
    finally:
        session.close()


if __name__ == "__main__":
    first_page_back_and_exit(sys.argv[1])
