"""The About box, Add to Favorites and the Internet settings panel in the real program."""
import os
import sys
import time

from skimlark_at import (Session, check, find, find_all, press, press_opening_modal, set_text,
                         wait_for)


def about_box(binary):
    session = Session(binary).start()
    try:
        press(session.menu_item("Help", "About Skimlark"))
        about = session.wait_find("dialog", "About Skimlark", showing=True)
        check(find(about, "label", "Version 1.3.3") is not None, "version label in the About box")
        check(find(about, "push button", "Visit www.velmora.example") is not None, "visit button")
        # A second About brings the same box forward instead of opening another.
        press(session.menu_item("Help", "About Skimlark"))
        time.sleep(0.5)
        boxes = [d for d in find_all(session.app, "dialog") if d.name == "About Skimlark"]
        check(len(boxes) == 1, "About boxes open: %d" % len(boxes))
        press(find(about, "push button", "OK"))
        wait_for(lambda: find(session.app, "dialog", "About Skimlark", showing=True) is None,
                 10, "the About box to close")
    finally:
        session.close()


def add_favorite_and_internet_settings(binary):
    session = Session(binary).start()
    try:
        set_text(session.find("text", "Location:"), "http://typed.example/")
        press_opening_modal(session.menu_item("File", "Add to IE Favorites"))
        dialog = session.wait_find("dialog", "Add Favorite", showing=True)
        set_text(find(dialog, "text", "Name"), "../Typed / page")
        press(find(dialog, "push button", "OK"))
        folder = os.path.join(session.data, "Velmora", "Skimlark", "Favorites")
        path = os.path.join(folder, "Typed page.url")
        wait_for(lambda: os.path.exists(path), 10, "the favorite's file")
        with open(path, "rb") as f:
            contents = f.read()
        check(contents == b"[InternetShortcut]\r\nURL=http://typed.example/\r\n",
              "favorite file: %r" % contents)
        check(os.listdir(folder) == ["Typed page.url"], "favorites: %r" % os.listdir(folder))

        press(session.menu_item("File", "Internet Properties"))
        panel = session.wait_find("dialog", "Internet Properties", showing=True)
        press(find(panel, "check box", "Enable JavaScript"))
        wait_for(lambda: b"JavaScript=0" in (session.settings_bytes() or b""), 10,
                 "the JavaScript choice to be stored")
    finally:
        session.close()


if __name__ == "__main__":
    about_box(sys.argv[1])
    add_favorite_and_internet_settings(sys.argv[1])
