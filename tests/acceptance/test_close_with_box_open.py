"""A close request always ends the program, whatever box is open, and writes nothing.

A page's question shows in the page's own area and leaves the window working;
the program's own message box stays modal, and a close request answers it.
"""
import ctypes
import signal
import sys

from skimlark_at import Session, check, find, press, press_opening_modal, set_text, wait_for, windows

START = "http://www.velmora.example/skimlark.htm"


def started(binary):
    session = Session(binary).start()
    wait_for(lambda: session.panel(2) == START and session.panel(1) == "Got it", 90,
             "the start page (panel 2 %r)" % session.panel(2))
    return session


def surf(session, address):
    combo = session.find("combo box", "Location:")
    set_text(find(combo, "text", "Location:"), address)
    press(session.find("push button", "Surf"))


def page_question(session, title):
    """The question a page asked, shown over the page: found by who asks."""
    return wait_for(lambda: find(session.app, "info bar", title, showing=True), 30,
                    "the page's question %r" % title)


def close_box(title_prefix):
    """Clicks the close box of the window whose title starts so, as a window
    manager would: WM_DELETE_WINDOW sent to the window."""
    ids = windows(title_prefix, prefix=True)
    check(ids, "a window titled %r" % title_prefix)

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                    ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]

    class Event(ctypes.Union):
        _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    event = Event()
    event.xclient.type = 33  # ClientMessage
    event.xclient.window = ids[0]
    event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", False)
    event.xclient.format = 32
    event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", False)
    x11.XSendEvent(display, ids[0], False, 0, ctypes.byref(event))
    x11.XFlush(display)
    x11.XCloseDisplay(display)


def ends_cleanly(session, before, how):
    status = session.wait_exit(10)
    check(status == 0, "%s: the program ended with %r" % (how, status))
    check(session.settings_bytes() == before, "%s: the settings file changed" % how)


def own_box_then(binary, how, close):
    """The design's own modal message box is open when the close request comes."""
    session = started(binary)
    try:
        before = session.settings_bytes()
        # The box holds the accessibility bus while it is open: it is seen as
        # the window manager sees it.
        press_opening_modal(session.find("push button", "Forward"))
        wait_for(lambda: windows("Skimlark"), 30, "the message box")
        close(session)
        ends_cleanly(session, before, how)
    finally:
        session.close()


def page_question_then_window_works(binary):
    """A page's question leaves the address bar, the menus and the close box working."""
    session = started(binary)
    try:
        session.proxy.pages["http://asks.test/"] = ("Asks", "<script>alert('Your session has expired')</script>")
        session.proxy.pages["http://calm.test/"] = ("Calm", "calm")
        surf(session, "http://asks.test/")
        question = page_question(session, "asks.test says")
        check(find(question, "label", "Your session has expired") is not None, "the question's text")
        # Surfing elsewhere answers it, and the new page shows.
        surf(session, "http://calm.test/")
        wait_for(lambda: session.window.name == "Skimlark - Calm", 30,
                 "the next page's caption (now %r)" % session.window.name)
        check(find(session.app, "info bar", "asks.test says", showing=True) is None, "the question went")

        surf(session, "http://asks.test/")
        page_question(session, "asks.test says")
        before = session.settings_bytes()
        press(session.menu_item("File", "Exit"))
        ends_cleanly(session, before, "File > Exit with a page's question open")
    finally:
        session.close()


def exit_over_the_bus_with_box_open(binary):
    """File > Exit chosen by an assistive tool while the program's box is open
    answers the box as closed and ends the program."""
    session = started(binary)
    try:
        before = session.settings_bytes()
        exit_item = session.menu_item("File", "Exit")
        press_opening_modal(session.find("push button", "Forward"))
        wait_for(lambda: windows("Skimlark"), 30, "the message box")
        press_opening_modal(exit_item)
        ends_cleanly(session, before, "File > Exit over the accessibility bus")
    finally:
        session.close()


if __name__ == "__main__":
    binary = sys.argv[1]
    own_box_then(binary, "SIGTERM", lambda session: session.process.send_signal(signal.SIGTERM))
    own_box_then(binary, "the close box", lambda session: close_box("Skimlark - "))
    page_question_then_window_works(binary)
    exit_over_the_bus_with_box_open(binary)
