"""Pages never run outside the engine's sandbox without the user knowing: the
engine's own switch turns pages off whatever its value, and a snap's
variables left in the environment change nothing."""
import os
import sys

from skimlark_at import Session, check, find, wait_for

START = "http://www.velmora.example/skimlark.htm"


def page_processes(pid):
    """The program's page processes, each with its parent's name."""
    parents, names = {}, {}
    for entry in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/stat" % entry) as f:
                stat = f.read()
        except (OSError, ValueError):
            continue
        names[int(entry)] = stat[stat.index("(") + 1:stat.rindex(")")]
        parents[int(entry)] = int(stat[stat.rindex(")") + 2:].split()[1])
    found = []
    for child, name in names.items():
        up = parents.get(child)
        while up and up > 1 and up != pid:
            up = parents.get(up)
        if up == pid and name.startswith("WebKitWebProces"):
            found.append((child, names.get(parents[child])))
    return found


def switched_off_by_an_empty_variable(binary):
    session = Session(binary).start(env={"WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS": ""})
    try:
        wait_for(lambda: find(session.app, "label", "Pages cannot be shown safely", prefix=True, showing=True), 60,
                 "the bar that says pages cannot be shown")
        check(page_processes(session.process.pid) == [], "page processes: %r" % page_processes(session.process.pid))
        check(session.proxy.requests == [], "requests: %r" % session.proxy.requests)
    finally:
        session.close()


def started_from_a_snap_terminal(binary):
    snap = {"SNAP": "/snap/term/7", "SNAP_NAME": "term", "SNAP_REVISION": "7"}
    session = Session(binary).start(env=snap)
    try:
        wait_for(lambda: session.panel(2) == START and session.panel(1) == "Got it", 90,
                 "the start page (panel 2 %r)" % session.panel(2))
        pages = page_processes(session.process.pid)
        check(pages and all(parent == "bwrap" for _, parent in pages), "page processes: %r" % pages)
    finally:
        session.close()


if __name__ == "__main__":
    switched_off_by_an_empty_variable(sys.argv[1])
    started_from_a_snap_terminal(sys.argv[1])
