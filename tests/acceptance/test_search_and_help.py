"""A first run with no network, a search, an engine tab and the help page."""
import sys

from skimlark_at import Session, check, press, set_text, wait_for

START = "http://www.velmora.example/skimlark.htm"
HELP = "http://www.velmora.example/skimlark/skimlarkhelp.htm"


def main(binary):
    session = Session(binary).start()
    try:
        # The built-in start page, reached through the referral address, with
        # nothing sent to the network.
        wait_for(lambda: session.panel(2) == START and session.panel(1) == "Got it", 60,
                 "the start page (panel 2 %r)" % session.panel(2))
        check(session.window.name.startswith("Skimlark - "), "caption %r" % session.window.name)
        check(not any("velmora" in r for r in session.proxy.requests),
              "maker pages left the machine: %r" % session.proxy.requests)

        box = session.find("text", "Search the Internet:")
        set_text(box, "cats & dogs")
        press(session.find("push button", "Search"))
        google = "http://www.google.com/search?q=cats%20%26%20dogs"
        wait_for(lambda: google in session.proxy.requests, 30,
                 "the search request (seen %r)" % session.proxy.requests)
        check(session.proxy.requests.count(google) == 1, "one search request: %r"
              % session.proxy.requests)

        press(session.find("page tab", "  Yahoo  "))
        yahoo = "http://search.yahoo.com/bin/search?p=cats%20%26%20dogs"
        wait_for(lambda: yahoo in session.proxy.requests, 30,
                 "the Yahoo tab's search (seen %r)" % session.proxy.requests)
        wait_for(lambda: session.panel(1) == "Got it" and "yahoo" in session.panel(2), 30,
                 "the Yahoo page to load")

        press(session.menu_item("Help", "Skimlark Help"))
        wait_for(lambda: session.panel(2) == HELP, 30, "the help page (panel 2 %r)"
                 % session.panel(2))
        check(not any("velmora" in r for r in session.proxy.requests),
              "the help page left the machine: %r" % session.proxy.requests)
    finally:
        session.close()


if __name__ == "__main__":
    main(sys.argv[1])
