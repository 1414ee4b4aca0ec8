"""Started from a terminal inside a snap, pages keep the engine's sandbox: Skimlark is never a snap."""
import os
import sys

from skimlark_at import Session, check, wait_for

START = "http://www.velmora.example/skimlark.htm"


def children(pid):
    """The names of the program's own child processes."""
    names = []
    for task in os.listdir("/proc/%d/task" % pid):
        with open("/proc/%d/task/%s/children" % (pid, task)) as f:
            for child in f.read().split():
                with open("/proc/%s/comm" % child) as comm:
                    names.append(comm.read().strip())
    return names


def started_from_a_snap_terminal(binary):
    session = Session(binary).start(env={"SNAP": "/snap/term/7", "SNAP_NAME": "term", "SNAP_REVISION": "7"})
    try:
        wait_for(lambda: session.panel(2) == START and session.panel(1) == "Got it", 90,
                 "the start page (panel 2 %r)" % session.panel(2))
        # Sandboxed, a page process is started by bubblewrap, never by the program itself.
        names = children(session.process.pid)
        check("bwrap" in names and "WebKitWebProces" not in names, "the program's children: %r" % names)
    finally:
        session.close()


if __name__ == "__main__":
    started_from_a_snap_terminal(sys.argv[1])
