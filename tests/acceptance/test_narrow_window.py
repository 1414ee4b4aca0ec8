"""A small screen and a narrow window: everything stays on screen and in reach,
and the tab strip's arrows scroll it without changing the selected tab.
"""
# screen: 800x600x24
import ctypes
import sys

import pyatspi

from skimlark_at import Session, check, find, find_all, wait_for, windows

START = "http://www.velmora.example/skimlark.htm"
SCREEN_WIDTH, SCREEN_HEIGHT = 800, 600


def extents(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def inside(node, outer):
    x, y, w, h = extents(node)
    ox, oy, ow, oh = outer
    return w > 0 and h > 0 and x >= ox and y >= oy and x + w <= ox + ow and y + h <= oy + oh


def resize(window_id, width, height):
    """Resizes the window as a user dragging its edge would (no window manager here)."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XResizeWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_uint, ctypes.c_uint]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    x11.XResizeWindow(display, window_id, width, height)
    x11.XFlush(display)
    x11.XCloseDisplay(display)


def selected_tab(tabs):
    for tab in find_all(tabs, "page tab"):
        if tab.getState().contains(pyatspi.STATE_SELECTED):
            return tab.name
    return None


def main(binary):
    session = Session(binary).start()
    try:
        wait_for(lambda: session.panel(2).startswith(START) and session.panel(1) == "Got it", 90,
                 "the start page (panel 2 %r)" % session.panel(2))
        # Started on a screen narrower than the design's window, it fits the screen.
        screen = (0, 0, SCREEN_WIDTH, SCREEN_HEIGHT)
        check(inside(session.window, screen), "the window %r on an 800 x 600 screen" % (extents(session.window),))

        # Made 500 pixels wide, every control is on screen or scrolled to when it takes the focus.
        ids = windows("Skimlark - ", prefix=True)
        check(ids, "the main window on the display")
        height = extents(session.window)[3]
        resize(ids[0], 500, height)
        wait_for(lambda: extents(session.window)[2] == 500, 30,
                 "a window 500 wide (now %r)" % (extents(session.window),))
        window = extents(session.window)
        status = session.find("status bar")
        for node, what in [(session.find("tool bar", "Navigation"), "the toolbar"),
                           (session.find("scroll pane", showing=True) or status, "the page"),
                           (status, "the status bar"),
                           (status.getChildAtIndex(2), "the clock")]:
            check(node is not None and wait_for(lambda: inside(node, window), 20, what), "%s in the window" % what)
        # The page's document runs on below the window; across, it fits.
        page = find(session.app, "document web", showing=True)
        check(page is not None, "the page")
        x, y, w, h = extents(page)
        check(w > 0 and x >= window[0] and x + w <= window[0] + window[2] and window[1] <= y < window[1] + window[3],
              "the page %r in the window %r" % (extents(page), window))
        for role, name in [("push button", "Surf"), ("text", "Location:"), ("text", "Search the Internet:")]:
            control = session.find(role, name)
            control.queryComponent().grabFocus()
            wait_for(lambda: inside(control, window), 20, "%s %r scrolled into the window" % (role, name))

        # The strip's arrows scroll it; the selected tab stays the one whose page is shown.
        tabs = session.find("page tab list", "Search engines")
        check(selected_tab(tabs) == "Home Page", "the Home Page tab selected (%r)" % selected_tab(tabs))
        home = find(tabs, "page tab", "Home Page")
        first_x = extents(home)[0]
        arrow = session.find("push button", "Scroll the tabs on", showing=True)
        check(arrow is not None and inside(arrow, window), "the strip's arrow in the window")
        for _ in range(3):
            x, y, w, h = extents(arrow)
            pyatspi.Registry.generateMouseEvent(x + w // 2, y + h // 2, "b1c")
        wait_for(lambda: extents(home)[0] < first_x, 20, "the strip scrolled")
        check(selected_tab(tabs) == "Home Page", "the arrows selected %r" % selected_tab(tabs))
        check(session.panel(2).startswith(START), "the page changed: %r" % session.panel(2))
    finally:
        session.close()


if __name__ == "__main__":
    main(sys.argv[1])
