"""A search, a surf and the help page on a first run, with nothing sent but what the user asked for."""
import sys

from skimlark_at import Session, check, find, press, set_text, wait_for

START = "http://www.velmora.example/skimlark.htm"
HELP = "http://www.velmora.example/skimlark/skimlarkhelp.htm"


def main(binary):
    session = Session(binary).start()
    try:
        wait_for(lambda: session.panel(2) == START and session.panel(1) == "Got it", 90,
                 "the start page (panel 2 %r)" % session.panel(2))

        # Searches travel encrypted: the proxy sees only the engine's host.
        set_text(session.find("text", "Search the Internet:"), "cats & dogs")
        press(session.find("push button", "Search"))
        google = "CONNECT www.google.com:443"
        wait_for(lambda: google in session.proxy.requests, 30,
                 "the search request (seen %r)" % session.proxy.requests)
        # The proxy refuses the connection; let that load end before surfing.
        wait_for(lambda: session.panel(1) == "Got it", 30,
                 "the search's load to end (panel 1 %r)" % session.panel(1))

        combo = session.find("combo box", "Location:")
        set_text(find(combo, "text", "Location:"), "http://surf.test/")
        press(session.find("push button", "Surf"))
        wait_for(lambda: "http://surf.test/" in session.proxy.requests, 30,
                 "the surfed address (seen %r)" % session.proxy.requests)
        wait_for(lambda: session.window.name == "Skimlark - Test page", 30,
                 "the surfed page's caption (now %r)" % session.window.name)

        press(session.menu_item("Help", "Skimlark Help"))
        wait_for(lambda: session.panel(2) == HELP, 30, "the help page (panel 2 %r)" % session.panel(2))
        check(not any("velmora" in r for r in session.proxy.requests),
              "the maker's pages left the machine: %r" % session.proxy.requests)
        # The engine may open a second connection for the one request (it
        # connects ahead of a load); a second search would add two more.
        connects = [r for r in session.proxy.requests if r.startswith("CONNECT")]
        check(set(connects) == {google} and len(connects) <= 2,
              "one search: %r" % session.proxy.requests)
    finally:
        session.close()


if __name__ == "__main__":
    main(sys.argv[1])
