#!/usr/bin/python3
"""The real programs as a screen reader meets them: a client of the accessibility bus (libatspi
through its Python bindings) finds the download assistant, reads its dialog, starts the download
through the button's action, and closes the failure box through its button; it also reads the
gallery's controls page. Runs inside a private D-Bus session under a virtual X server:

    dbus-run-session -- xvfb-run -a ScreenReaderTest.py KESTREL KESTREL-GALLERY
"""
import http.server
import os
import subprocess
import sys
import tempfile
import threading
import time
import unittest

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, Gio, GLib  # noqa: E402

PROGRAM, GALLERY = sys.argv[1], sys.argv[2]
TITLE = "Download assistant - Corvane full version"
FAILURE_TEXT = "The download of the full version failed!"


def enable_assistive_technologies():
    """What a screen reader does when it starts: tell the accessibility bus it is there."""
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    value = GLib.Variant("(ssv)", ("org.a11y.Status", "IsEnabled", GLib.Variant("b", True)))
    bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set", value,
                  None, Gio.DBusCallFlags.NONE, -1, None)


class Events:
    """The events the program sends, as (type, source name, source role, detail1)."""

    def __init__(self):
        self.seen = []
        self.listener = Atspi.EventListener.new(self._heard)
        for kind in ("object:state-changed", "object:text-changed", "object:property-change:accessible-name",
                     "window:activate", "focus:"):
            self.listener.register(kind)

    def _heard(self, event):
        try:
            self.seen.append((event.type, event.source.get_name(), event.source.get_role(), event.detail1))
        except GLib.Error:  # the source went away meanwhile
            pass

    def close(self):
        self.listener.deregister("object:state-changed")


def pump(seconds):
    """Lets the client's main loop run (events arrive through it)."""
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def wait_for(what, condition, seconds=20):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        result = condition()
        if result:
            return result
        pump(0.1)
    raise AssertionError("gave up waiting for " + what)


def states(accessible):
    return accessible.get_state_set()


def find(root, predicate):
    """Depth first, as a screen reader's review does."""
    if predicate(root):
        return root
    for i in range(root.get_child_count()):
        child = root.get_child_at_index(i)
        if child is not None:
            found = find(child, predicate)
            if found is not None:
                return found
    return None


def text_of(accessible):
    text = accessible.get_text_iface()
    return text.get_text(0, text.get_character_count()) if text else None


def application(name):
    def lookup():
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_name() == name and app.get_child_count() > 0:
                return app
        return None
    return wait_for("the application " + name, lookup)


def window(app, role, name=None):
    def lookup():
        for i in range(app.get_child_count()):
            w = app.get_child_at_index(i)
            if w is not None and w.get_role() == role and (name is None or w.get_name() == name):
                return w
        return None
    return wait_for("a %s window" % role.value_nick, lookup)


class Server(http.server.ThreadingHTTPServer):
    """The loopback server the program downloads from (as its proxy): it either trickles the
    installer in slowly or refuses it."""

    def __init__(self, failing):
        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                if failing:
                    self.send_error(404)
                    return
                self.send_response(200)
                self.send_header("Content-Length", str(256 * 1024))
                self.end_headers()
                try:
                    for _ in range(256):
                        self.wfile.write(b"\0" * 1024)
                        self.wfile.flush()
                        time.sleep(0.2)
                except OSError:
                    pass

            def log_message(self, *args):
                pass

        super().__init__(("127.0.0.1", 0), Handler)
        threading.Thread(target=self.serve_forever, daemon=True).start()


class ProgramCase(unittest.TestCase):
    def start(self, command, server=None):
        self.temp = tempfile.TemporaryDirectory()
        env = dict(os.environ, KESTREL_BACKEND="sdl", LANGUAGE="en_US", TEMP=self.temp.name,
                   KESTREL_OPEN_COMMAND="true", no_proxy="")
        env["ASAN_OPTIONS"] = "detect_leaks=0:" + env.get("ASAN_OPTIONS", "")
        env.pop("KESTREL_ACCESSIBILITY", None)  # the program must find out from the bus
        if server:
            env["http_proxy"] = "http://127.0.0.1:%d" % server.server_address[1]
        self.events = Events()  # a screen reader listens before programs start
        self.process = subprocess.Popen(command, env=env)

    def tearDown(self):
        self.events.close()
        self.process.kill()
        self.process.wait()
        self.temp.cleanup()

    def dialog_parts(self):
        app = application("Kestrel")
        dialog = window(app, Atspi.Role.DIALOG, TITLE)
        button = wait_for("the button", lambda: find(dialog, lambda a: a.get_role() == Atspi.Role.PUSH_BUTTON
                                                     and a.get_name() == "Download full version"))
        return app, dialog, button


class Dialog(ProgramCase):
    def test_reads_the_dialog_and_starts_the_download_through_the_button(self):
        server = Server(failing=False)
        self.start([PROGRAM], server)
        app, dialog, button = self.dialog_parts()
        self.assertEqual(dialog.get_role(), Atspi.Role.DIALOG)
        self.assertTrue(states(dialog).contains(Atspi.StateType.ACTIVE))
        labels = [text_of(a) for a in (find(dialog, lambda a: a.get_role() == Atspi.Role.LABEL and
                                            "Welcome" in (a.get_name() or "")),
                                       find(dialog, lambda a: a.get_role() == Atspi.Role.LABEL and
                                            "Step 3" in (a.get_name() or "")))]
        self.assertEqual(labels[0], "Welcome to the download assistant for\nCorvane (full version)")
        self.assertEqual(labels[1], "Step 3:\n\nDownload and install full version on your computer:")
        for state in (Atspi.StateType.SHOWING, Atspi.StateType.ENABLED, Atspi.StateType.FOCUSABLE,
                      Atspi.StateType.FOCUSED):
            self.assertTrue(states(button).contains(state), state.value_nick)
        self.assertFalse(states(dialog).contains(Atspi.StateType.BUSY))
        x, y = button.get_position(Atspi.CoordType.WINDOW).x, button.get_position(Atspi.CoordType.WINDOW).y
        size = button.get_size()
        self.assertTrue(0 < x < 445 and 0 < y < 640 and size.x > 50 and size.y > 15, (x, y, size.x, size.y))

        action = button.get_action_iface()
        self.assertEqual(action.get_n_actions(), 1)
        self.assertEqual(action.get_action_name(0), "click")
        self.assertTrue(action.do_action(0))
        wait_for("the dialog to be busy", lambda: states(dialog).contains(Atspi.StateType.BUSY))
        self.assertFalse(states(button).contains(Atspi.StateType.SHOWING))
        bar = find(dialog, lambda a: a.get_role() == Atspi.Role.PROGRESS_BAR)
        self.assertTrue(states(bar).contains(Atspi.StateType.SHOWING) and states(bar).contains(Atspi.StateType.BUSY))
        # The changes came as events, as they happened.
        wait_for("the events", lambda: ("object:state-changed:showing", "Download full version",
                                        Atspi.Role.PUSH_BUTTON, 0) in self.events.seen and
                 ("object:state-changed:busy", TITLE, Atspi.Role.DIALOG, 1) in self.events.seen)

    def test_failure_box_is_an_alert_closed_through_its_button(self):
        server = Server(failing=True)
        self.start([PROGRAM], server)
        app, dialog, button = self.dialog_parts()
        self.assertTrue(button.get_action_iface().do_action(0))
        alert = window(app, Atspi.Role.ALERT, "Download failed")
        self.assertTrue(states(alert).contains(Atspi.StateType.MODAL))
        message = find(alert, lambda a: a.get_role() == Atspi.Role.LABEL)
        self.assertTrue(text_of(message).startswith(FAILURE_TEXT), text_of(message))
        ok = find(alert, lambda a: a.get_role() == Atspi.Role.PUSH_BUTTON)
        self.assertEqual(ok.get_name(), "OK")
        wait_for("the OK button to have the focus", lambda: states(ok).contains(Atspi.StateType.FOCUSED))
        wait_for("its focus event", lambda: ("object:state-changed:focused", "OK", Atspi.Role.PUSH_BUTTON, 1)
                 in self.events.seen)
        self.assertTrue(ok.get_action_iface().do_action(0))

        def alert_gone():
            roles = [app.get_child_at_index(i).get_role() for i in range(app.get_child_count())]
            return Atspi.Role.ALERT not in roles
        wait_for("the alert to go", alert_gone)
        # The dialog is back: not busy, its button showing again for another attempt.
        wait_for("the button to show again", lambda: states(button).contains(Atspi.StateType.SHOWING))
        self.assertFalse(states(dialog).contains(Atspi.StateType.BUSY))
        self.assertIsNone(self.process.poll(), "the program ended")


class Gallery(ProgramCase):
    def test_reads_the_controls_page(self):
        self.start([GALLERY, "--page", "controls", "--theme", "classic"])
        app = application("Kestrel gallery")
        frame = window(app, Atspi.Role.FRAME, "Kestrel gallery")

        def control(role, name):
            return wait_for("%s %s" % (role.value_nick, name),
                            lambda: find(frame, lambda a: a.get_role() == role and a.get_name() == name))

        say_hello = control(Atspi.Role.PUSH_BUTTON, "Say hello")
        self.assertTrue(states(say_hello).contains(Atspi.StateType.IS_DEFAULT))
        self.assertTrue(states(say_hello).contains(Atspi.StateType.FOCUSED))
        disabled = control(Atspi.Role.PUSH_BUTTON, "Disabled")
        self.assertFalse(states(disabled).contains(Atspi.StateType.ENABLED))
        check = control(Atspi.Role.CHECK_BOX, "Three states")
        self.assertTrue(states(check).contains(Atspi.StateType.CHECKED))
        radios = [control(Atspi.Role.RADIO_BUTTON, n) for n in ("Small", "Medium", "Large")]
        self.assertEqual([states(r).contains(Atspi.StateType.CHECKED) for r in radios], [False, True, False])
        # The edit is named by the label that is its FocusControl; its text is the content.
        edit = control(Atspi.Role.ENTRY, "Edit box")
        self.assertEqual(text_of(edit), "Kestrel")
        self.assertTrue(states(edit).contains(Atspi.StateType.EDITABLE))
        relation = [r for r in edit.get_relation_set() if r.get_relation_type() == Atspi.RelationType.LABELLED_BY]
        self.assertEqual(relation[0].get_target(0).get_name(), "Edit box")

        # Acting on the check box changes its state, and the change is told.
        self.assertTrue(check.get_action_iface().do_action(0))
        wait_for("the check box to change", lambda: not states(check).contains(Atspi.StateType.CHECKED))
        wait_for("its event", lambda: ("object:state-changed:checked", "Three states",
                                       Atspi.Role.CHECK_BOX, 0) in self.events.seen)
        # The clock label's text changes every second; its changes arrive as text events.
        wait_for("a text change", lambda: any(e[0].startswith("object:text-changed:insert") and
                                              e[1].startswith("Timer: ") for e in self.events.seen))


if __name__ == "__main__":
    enable_assistive_technologies()
    unittest.main(argv=sys.argv[:1] + sys.argv[3:], verbosity=2)
