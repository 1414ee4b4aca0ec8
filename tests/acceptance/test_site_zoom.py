"""Ctrl+= zooms the site on screen only, the status bar says so, and the level
is there again after the program was killed."""
import sys

from skimlark_at import Session, ctrl, find, press, set_text, wait_for

ZOOMED = "http://big.test/ \u2014 zoom 120%"


def surf(session, address):
    set_text(find(session.find("combo box", "Location:"), "text", "Location:"), address)
    press(session.find("push button", "Surf"))
    wait_for(lambda: session.panel(2).startswith(address), 30, "%s (panel 2 %r)" % (address, session.panel(2)))


def main(binary):
    session = Session(binary)
    session.proxy.pages["http://big.test/"] = ("Big", "big")
    session.proxy.pages["http://small.test/"] = ("Small", "small")
    try:
        session.start("http://big.test/")
        wait_for(lambda: session.panel(2) == "http://big.test/", 60, "the big site (panel 2 %r)" % session.panel(2))
        ctrl("equal")
        ctrl("equal")
        wait_for(lambda: session.panel(2) == ZOOMED, 10, "the zoom said (panel 2 %r)" % session.panel(2))
        surf(session, "http://small.test/")
        wait_for(lambda: session.panel(2) == "http://small.test/", 10,
                 "the other site at 100%% (panel 2 %r)" % session.panel(2))

        # Killed: the level was kept when it was chosen.
        session.process.kill()
        session.process.wait()
        session.start("http://small.test/")
        wait_for(lambda: session.panel(2) == "http://small.test/", 60,
                 "the other site still at 100%% (panel 2 %r)" % session.panel(2))
        surf(session, "http://big.test/")
        wait_for(lambda: session.panel(2) == ZOOMED, 10, "the big site's zoom again (panel 2 %r)" % session.panel(2))
    finally:
        session.close()


if __name__ == "__main__":
    main(sys.argv[1])
