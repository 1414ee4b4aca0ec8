"""Drives the real Skimlark through the accessibility bus, as a screen reader would.

Each session gets fresh settings and data folders, an optional seeded settings
file, and a loopback HTTP proxy of its own that records every request the page
engine makes; nothing leaves the machine. Run inside `xvfb-run` and
`dbus-run-session` (see run_acceptance.sh).

The program has no proxy option of its own: like every desktop program it
uses the system's proxy settings, which outside a GNOME session come from the
usual http_proxy/https_proxy variables. The session sets them to its loopback
proxy, so any request that would leave the machine is recorded (an https one
as a CONNECT, which the proxy refuses unless the test tunnels it to a local
server) and never sent. The program's own pages
are answered inside the program and never reach the proxy.
"""
import http.server
import os
import re
import select
import socket
import ssl
import shutil
import signal
import subprocess
import tempfile
import threading
import time

import pyatspi

PAGE = b"<html><head><title>%s</title></head><body>%s</body></html>"


class Proxy:
    """A loopback HTTP proxy/server that answers every request with a small page."""

    def __init__(self):
        self.requests = []
        self.pages = {}
        # "host:443" -> a local port the CONNECT is joined to (this proxy's own
        # port stands for a site that speaks no TLS).
        self.tunnels = {}
        # Per address: extra response headers, and the request headers seen.
        self.extra_headers = {}
        self.request_headers = []
        # Cleared, every answer waits until it is set again, as a slow site's would.
        self.answering = threading.Event()
        self.answering.set()
        outer = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_CONNECT(self):
                # An encrypted request: recorded by its host, never forwarded
                # beyond the machine.
                outer.requests.append("CONNECT " + self.path)
                port = outer.tunnels.get(self.path)
                if port is not None:
                    self.send_response(200)
                    self.end_headers()
                    self.wfile.flush()
                    with socket.create_connection(("127.0.0.1", port)) as far:
                        join(self.connection, far)
                    self.close_connection = True
                    return
                self.send_response(502)
                self.send_header("Content-Length", "0")
                self.end_headers()

            def do_GET(self):
                if self.path.endswith("/favicon.ico"):
                    self.send_response(404)
                    self.send_header("Content-Length", "0")
                    self.end_headers()
                    return
                # Through a tunnel to the TLS site the path is the server's own.
                address = self.path if "://" in self.path else "https://%s%s" % (self.headers["Host"], self.path)
                outer.requests.append(address)
                outer.request_headers.append((address, dict(self.headers)))
                outer.answering.wait(120)
                title, body = outer.pages.get(address, ("Test page", "Test page"))
                data = PAGE % (title.encode(), body.encode())
                self.send_response(200)
                for name, value in outer.extra_headers.get(self.path, []):
                    self.send_header(name, value)
                self.send_header("Content-Type", "text/html; charset=utf-8")
                self.send_header("Content-Length", str(len(data)))
                self.send_header("Cache-Control", "no-store")
                self.end_headers()
                self.wfile.write(data)

            def log_message(self, *args):
                pass

        self.handler = Handler
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.port = self.server.server_address[1]
        self.tls_server = None
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def serve_tls(self, certificate, key):
        """The same site over TLS with this certificate: its port, for `tunnels`."""
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(certificate, key)
        self.tls_server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), self.handler)
        self.tls_server.socket = context.wrap_socket(self.tls_server.socket, server_side=True)
        threading.Thread(target=self.tls_server.serve_forever, daemon=True).start()
        return self.tls_server.server_address[1]

    def close(self):
        self.server.shutdown()
        if self.tls_server:
            self.tls_server.shutdown()


class TestAuthority:
    """A certificate authority made with openssl, trusted by a command wrapped by
    `trusting`: the system's list of authorities, with it, is mounted over the
    system's in a mount namespace of the command's own."""

    SYSTEM_LIST = "/etc/ssl/certs/ca-certificates.crt"

    def __init__(self, folder):
        os.makedirs(folder, exist_ok=True)
        self.folder = folder
        self.certificate, self.key = self._file("authority.pem"), self._file("authority.key")
        self._openssl("req", "-x509", "-subj", "/CN=Skimlark Test Authority", "-keyout", self.key,
                      "-out", self.certificate, "-addext", "basicConstraints=critical,CA:TRUE",
                      "-addext", "keyUsage=critical,keyCertSign")
        self.trust_list = self._file("trusted.pem")
        with open(self.trust_list, "wb") as out:
            for name in (self.SYSTEM_LIST, self.certificate):
                if os.path.exists(name):
                    with open(name, "rb") as part:
                        out.write(part.read())

    def _file(self, name):
        return os.path.join(self.folder, name)

    def _openssl(self, command, *args):
        subprocess.run(["openssl", command, "-newkey", "rsa:2048", "-nodes", "-days", "1", *args] if command == "req"
                       else ["openssl", command, *args], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def sign(self, host):
        """A certificate and its key for `host`, signed by this authority."""
        key, request, certificate = self._file(host + ".key"), self._file(host + ".csr"), self._file(host + ".pem")
        self._openssl("req", "-subj", "/CN=" + host, "-addext", "subjectAltName=DNS:" + host,
                      "-keyout", key, "-out", request)
        self._openssl("x509", "-req", "-in", request, "-CA", self.certificate, "-CAkey", self.key, "-days", "1",
                      "-copy_extensions", "copy", "-out", certificate)
        return certificate, key

    PRIVATE = ["unshare", "--mount", "--propagation", "private"] + ([] if os.geteuid() == 0 else ["--map-root-user"])

    @staticmethod
    def possible():
        return subprocess.run(TestAuthority.PRIVATE + ["true"], stderr=subprocess.DEVNULL).returncode == 0

    def trusting(self, command):
        mount = 'mount --bind "$0" %s && exec "$@"' % self.SYSTEM_LIST
        return self.PRIVATE + ["sh", "-c", mount, self.trust_list, *command]


def join(near, far):
    """Passes bytes both ways until either side closes."""
    while True:
        ready, _, _ = select.select([near, far], [], [], 60)
        if not ready:
            return
        for side in ready:
            data = side.recv(65536)
            if not data:
                return
            (far if side is near else near).sendall(data)


def ini_escape(value):
    return value.replace("\\", "\\\\").replace('"', '\\"')


class Session:
    """One run of the program with its own settings, data and proxy."""

    def __init__(self, binary, settings=None, config_dir=None):
        self.binary = binary
        self.root = tempfile.mkdtemp(prefix="skimlark-at-")
        self.config = config_dir or os.path.join(self.root, "config")
        self.data = os.path.join(self.root, "data")
        self.proxy = Proxy()
        self.process = None
        self.app = None
        if settings:
            self.write_settings(settings)

    @property
    def settings_path(self):
        return os.path.join(self.config, "Velmora", "Skimlark.conf")

    def write_settings(self, settings):
        os.makedirs(os.path.dirname(self.settings_path), exist_ok=True)
        with open(self.settings_path, "w", encoding="utf-8") as f:
            for section, values in settings.items():
                f.write("[%s]\n" % section)
                for key, value in values.items():
                    f.write('%s="%s"\n' % (key, ini_escape(value)))

    def settings_bytes(self):
        try:
            with open(self.settings_path, "rb") as f:
                return f.read()
        except FileNotFoundError:
            return None

    def environment(self):
        env = dict(os.environ)
        proxy = "http://127.0.0.1:%d" % self.proxy.port
        # The program's temporary files go with the session's folder.
        temporary = os.path.join(self.root, "tmp")
        os.makedirs(temporary, exist_ok=True)
        env.update({
            "HOME": self.root,
            "TMPDIR": temporary,
            "XDG_CONFIG_HOME": self.config,
            "XDG_DATA_HOME": self.data,
            "XDG_CACHE_HOME": os.path.join(self.root, "cache"),
            "http_proxy": proxy, "https_proxy": proxy, "HTTP_PROXY": proxy, "HTTPS_PROXY": proxy,
            "GTK_A11Y": "atspi",
        })
        for name in ("no_proxy", "NO_PROXY", "NO_AT_BRIDGE", "XDG_CURRENT_DESKTOP"):
            env.pop(name, None)
        return env

    def run_again(self, *args, timeout=60):
        """Starts the program a second time, as another program handing it
        `args` would; returns its exit status."""
        second = subprocess.Popen([self.binary, *args], env=self.environment(),
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return second.wait(timeout)

    def start(self, *args, timeout=60, env=None, authority=None):
        """Starts the program with `args`; `env` adds to or (with None values)
        takes from its environment; with a TestAuthority, the program trusts it."""
        env = {**self.environment(), **(env or {})}
        env = {name: value for name, value in env.items() if value is not None}
        # Bring the accessibility bus and its registry up before the program
        # looks for them, so it never starts unregistered.
        pyatspi.Registry.getDesktop(0).childCount
        command = [self.binary, *args]
        if authority:
            # Each step execs the next: the program keeps the process's id.
            command = authority.trusting(command)
        self.process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                                        stderr=open(os.path.join(self.root, "stderr.log"), "w"))
        self.app = wait_for(self._find_app, timeout, "the program on the accessibility bus")
        self.window = wait_for(lambda: find(self.app, "frame", "Skimlark", prefix=True, showing=True),
                               timeout, "the main window")
        return self

    def _find_app(self):
        desktop = pyatspi.Registry.getDesktop(0)
        # The desktop's list of applications is cached; ask the registry afresh.
        try:
            desktop.clearCache()
        except Exception:
            pass
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app is not None and app.get_process_id() == self.process.pid:
                    return app
            except Exception:
                continue
        return None

    def wait_exit(self, timeout=30):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def _running(self):
        """Every process still running in this session's home: the program,
        a second one, and the engine's processes they started."""
        mark = b"\0HOME=" + self.root.encode() + b"\0"
        found = []
        for entry in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open("/proc/%s/environ" % entry, "rb") as f:
                    if mark in b"\0" + f.read():
                        found.append(int(entry))
            except OSError:
                continue
        return found

    def close(self):
        if self.process and self.process.poll() is None:
            self.process.send_signal(signal.SIGKILL)
            self.process.wait()
        # The engine's network process outlives the program for a moment and
        # writes to its home as it ends: it goes before the home does.
        for pid in self._running():
            try:
                os.kill(pid, signal.SIGKILL)
            except OSError:
                pass
        end = time.time() + 10
        while self._running() and time.time() < end:
            time.sleep(0.05)
        self.proxy.close()
        try:
            with open(os.path.join(self.root, "stderr.log"), errors="replace") as f:
                # The program's own (the engine's processes write here too).
                criticals = [line for line in f if "-CRITICAL **" in line
                             and ("(org.velmora.Skimlark:" in line or "(skimlark:" in line)]
        except FileNotFoundError:
            criticals = []
        shutil.rmtree(self.root, ignore_errors=True)
        # The toolkit's criticals are faults of the program's own.
        check(not criticals, "the program's output carries criticals: %s" % "".join(criticals[:5]))

    # Lookups on this program's tree.
    def find(self, role, name=None, **kw):
        return find(self.app, role, name, **kw)

    def wait_find(self, role, name=None, timeout=20, **kw):
        return wait_for(lambda: find(self.app, role, name, **kw), timeout,
                        "%s %r" % (role, name))

    def menu_item(self, *path):
        """A menu item by its path of captions (access keys left out); an item
        that opens a submenu has the role "menu"."""
        node = find(self.window, "menu bar")
        for caption in path:
            found = None
            for role in ("menu item", "check menu item", "menu"):
                found = find(node, role, caption, depth=3)
                if found is not None:
                    break
            if found is None:
                raise AssertionError("no menu item %r" % caption)
            node = found
        return node

    def panel(self, n):
        bar = self.find("status bar")
        return text_of(bar.getChildAtIndex(n - 1))


def wait_for(probe, timeout, what):
    end = time.time() + timeout
    while time.time() < end:
        try:
            result = probe()
        except Exception:
            result = None
        if result:
            return result
        time.sleep(0.2)
    raise AssertionError("timed out waiting for %s" % what)


def find(root, role, name=None, prefix=False, showing=False, depth=40):
    """Breadth-first search for the first node with this role (and name)."""
    if root is None:
        return None
    queue = [(root, 0)]
    while queue:
        node, level = queue.pop(0)
        try:
            if node.getRoleName() == role and (
                    name is None or node.name == name or (prefix and node.name.startswith(name))):
                if not showing or node.getState().contains(pyatspi.STATE_SHOWING):
                    return node
            if level < depth:
                for i in range(node.childCount):
                    child = node.getChildAtIndex(i)
                    if child is not None:
                        queue.append((child, level + 1))
        except Exception:
            continue
    return None


def find_all(root, role):
    found = []
    queue = [root]
    while queue:
        node = queue.pop(0)
        try:
            if node.getRoleName() == role:
                found.append(node)
            for i in range(node.childCount):
                queue.append(node.getChildAtIndex(i))
        except Exception:
            continue
    return found


def press(node):
    action = node.queryAction()
    action.doAction(0)


def press_opening_modal(node):
    """Presses a control whose command opens a modal box.

    The program answers the press only once the box closes, so the wait for
    that answer is cut short; the box is then found and answered through the bus."""
    from gi.repository import GLib
    pyatspi.setTimeout(1500, 15000)
    try:
        press(node)
    except GLib.GError:
        pass
    finally:
        pyatspi.setTimeout(25000, 15000)


def message_box(session, text, timeout=20):
    """The program's message box titled "Skimlark" that shows `text`."""
    def probe():
        for role in ("alert", "dialog"):
            box = find(session.app, role, "Skimlark", showing=True)
            if box is not None and find(box, "label", text) is not None:
                return box
        return None
    return wait_for(probe, timeout, "the message %r" % text)


def text_of(node):
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        return node.name


def set_text(node, value):
    node.queryEditableText().setTextContents(value)


def is_checked(node):
    return node.getState().contains(pyatspi.STATE_CHECKED)


def is_visible(node):
    return node.getState().contains(pyatspi.STATE_VISIBLE)


KEYSYMS = {"Return": 0xff0d, "Escape": 0xff1b, "Tab": 0xff09, "Left": 0xff51,
           "Right": 0xff53, "F5": 0xffc2, "F6": 0xffc3, "space": 0x20, "Page_Down": 0xff56, "Down": 0xff54}


def key(name):
    """Types one key (an X keysym name such as 'Return') into the focused control."""
    pyatspi.Registry.generateKeyboardEvent(KEYSYMS[name], None, pyatspi.KEY_SYM)


def ctrl(name):
    """Types Ctrl with one key ('equal', 'minus', '0') into the focused control."""
    pyatspi.Registry.generateKeyboardEvent(CONTROL_MASK, None, pyatspi.KEY_LOCKMODIFIERS)
    try:
        pyatspi.Registry.generateKeyboardEvent(CTRL_KEYSYMS[name], None, pyatspi.KEY_SYM)
    finally:
        pyatspi.Registry.generateKeyboardEvent(CONTROL_MASK, None, pyatspi.KEY_UNLOCKMODIFIERS)


CONTROL_MASK = 1 << 2
CTRL_KEYSYMS = {"equal": 0x3d, "minus": 0x2d, "0": 0x30}


def type_text(text):
    """Types `text` into the focused control, key by key, as the user would."""
    pyatspi.Registry.generateKeyboardEvent(0, text, pyatspi.KEY_STRING)


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def windows(title, prefix=False):
    """The X windows on screen with this title, as a window manager sees them."""
    tree = subprocess.check_output(["xwininfo", "-root", "-tree"], text=True)
    found = []
    for match in re.finditer(r'(0x[0-9a-f]+) "([^"]*)"', tree):
        name = match.group(2)
        if name == title or (prefix and name.startswith(title)):
            stats = subprocess.run(["xwininfo", "-id", match.group(1), "-stats"], text=True,
                                   capture_output=True).stdout
            if "IsViewable" in stats:
                found.append(int(match.group(1), 16))
    return found
