"""The user's profile outlives the program: a cookie set by a page is sent again after
the program was closed (with File > Exit, or by the session ending with SIGTERM) and
started anew over the same data folder."""
import signal
import sys

from skimlark_at import Session, check, press, wait_for

SITE = "http://cookie.test/"
# Asked for once the page itself has arrived, so its cookie is stored by then.
AFTER = "http://cookie.test/after.png"


def run(binary, data=None, config=None, by_signal=False):
    session = Session(binary, settings={"Home": {"Address": SITE}}, config_dir=config)
    if data:
        session.data = data
    session.proxy.extra_headers[SITE] = [("Set-Cookie", "kept=yes; Max-Age=86400; Path=/")]
    session.proxy.pages[SITE] = ("Cookie page", '<img src="/after.png">')
    session.start()
    wait_for(lambda: AFTER in session.proxy.requests, 60, "the home page and its picture")
    if by_signal:
        session.process.send_signal(signal.SIGTERM)
    else:
        press(session.menu_item("File", "Exit"))
    code = session.wait_exit(60)
    check(code == 0, "the program ends normally (by signal: %s), exit %r" % (by_signal, code))
    return session


def cookie_survives_restart(binary, by_signal):
    first = run(binary, by_signal=by_signal)
    try:
        sent = [h.get("Cookie", "") for path, h in first.proxy.request_headers if path == SITE]
        check(sent and "kept=yes" not in sent[0], "first visit has no cookie: %r" % sent)
        second = run(binary, data=first.data, config=first.config)
        try:
            sent = [h.get("Cookie", "") for path, h in second.proxy.request_headers if path == SITE]
            check(sent and "kept=yes" in sent[0], "cookie sent after the restart: %r" % sent)
        finally:
            second.close()
    finally:
        first.close()


if __name__ == "__main__":
    cookie_survives_restart(sys.argv[1], by_signal=False)
    cookie_survives_restart(sys.argv[1], by_signal=True)
