#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What a screen reader sees over AT-SPI on a real X server: the desktop program on the sample
drive with both sample persons and the dial window open shows the accessible dial "Scheibe" and
its factors by name.

Usage: dial_smoke.py DUOSKOP DRIVE_C

Starts a virtual X server (Xvfb), a private D-Bus session (dbus-run-session), the AT-SPI bus
(at-spi-bus-launcher; the registry daemon is started by it) and the program, then walks the
program's accessible tree with pyatspi. Exit status 0 when the dial and a named factor are found,
1 when not, 77 (skipped) only when no AT-SPI bus can be started. Everything it starts is ended.
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77
SESSION_MARK = "DUOSKOP_ATSPI_SESSION"
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"


def skip(reason):
    print("SKIP: kein AT-SPI-Bus: " + reason, flush=True)
    sys.exit(SKIP)


def fail(reason):
    print("FEHLER: " + reason, flush=True)
    sys.exit(1)


def start(args, **kwargs):
    """A process in a group of its own, so that it is ended with everything it started."""
    return subprocess.Popen(args, start_new_session=True, **kwargs)


def end(process):
    if process is None or process.poll() is not None:
        return
    for sig, wait in ((signal.SIGTERM, 5), (signal.SIGKILL, 5)):
        try:
            os.killpg(process.pid, sig)
        except ProcessLookupError:
            return
        try:
            process.wait(timeout=wait)
            return
        except subprocess.TimeoutExpired:
            pass


def start_x():
    """Xvfb on a display number it chooses itself; the process and the display name."""
    read_end, write_end = os.pipe()
    x = start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
              pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    deadline = time.monotonic() + 20
    while not number.endswith(b"\n") and time.monotonic() < deadline:
        chunk = os.read(read_end, 16)
        if not chunk:
            break
        number += chunk
    os.close(read_end)
    if not number.strip():
        end(x)
        fail("Xvfb startet nicht")
    return x, ":" + number.decode().strip()


def bus_address():
    """The AT-SPI bus's address from the session bus, or None while there is none."""
    result = subprocess.run(["dbus-send", "--session", "--print-reply=literal", "--dest=org.a11y.Bus",
                             "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, timeout=10)
    address = result.stdout.strip()
    return address if result.returncode == 0 and address else None


def walk(node, depth=0):
    """Every accessible under `node` (depth first), at most 40 levels deep."""
    yield node
    if depth >= 40:
        return
    try:
        count = node.childCount
    except Exception:
        return
    for i in range(count):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        if child is not None:
            yield from walk(child, depth + 1)


def press_ok(pyatspi, node):
    """Presses "OK" in a box of the program (the opening hint), as a screen reader's user would."""
    for child in walk(node):
        try:
            if child.getRole() == pyatspi.ROLE_PUSH_BUTTON and child.name == "OK":
                child.queryAction().doAction(0)
                return
        except Exception:
            continue


def find_dial(pyatspi, program):
    """The dial and the names of its children, once the program shows them; else None. The
    opening hint is answered on the way."""
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is None:
            continue
        try:
            app_pid = app.get_process_id()
        except Exception:
            app_pid = None
        if app_pid != program.pid and app.name != "duoskop":
            continue
        for node in walk(app):
            try:
                if node.getRole() == pyatspi.ROLE_ALERT:
                    press_ok(pyatspi, node)
                    return None
                if node.getRole() == pyatspi.ROLE_DIAL and node.name == "Scheibe":
                    return [node.getChildAtIndex(k).name for k in range(node.childCount)]
            except Exception:
                continue
    return None


def seen(pyatspi):
    """What the AT-SPI registry shows, for the message of a failure: applications and their roles."""
    desktop = pyatspi.Registry.getDesktop(0)
    parts = []
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is None:
            continue
        roles = {}
        for node in walk(app):
            try:
                key = node.getRoleName() + ("" if not node.name else ":" + node.name[:20])
            except Exception:
                continue
            roles[key] = roles.get(key, 0) + 1
            if len(roles) > 60:
                break
        parts.append("%s %s" % (app.name, sorted(roles)))
    return "; ".join(parts) or "keine Anwendung"


def main():
    if len(sys.argv) != 3:
        print("Aufruf: dial_smoke.py DUOSKOP LAUFWERK_C", file=sys.stderr)
        return 2
    program_path, drive = sys.argv[1], sys.argv[2]
    for tool in ("Xvfb", "dbus-run-session", "dbus-send"):
        if shutil.which(tool) is None:
            skip(tool + " fehlt")
    if not os.access(BUS_LAUNCHER, os.X_OK):
        skip(BUS_LAUNCHER + " fehlt")
    if os.environ.get(SESSION_MARK) != "1":
        # A private session bus for this test alone; it ends with the test.
        os.environ[SESSION_MARK] = "1"
        os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable] + sys.argv)

    x = launcher = program = None
    home = tempfile.TemporaryDirectory(prefix="duoskop-atspi-")
    try:
        x, display = start_x()
        os.environ["DISPLAY"] = display
        launcher = start([BUS_LAUNCHER, "--launch-immediately"], stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL)
        address = None
        deadline = time.monotonic() + 20
        while address is None and time.monotonic() < deadline and launcher.poll() is None:
            address = bus_address()
            if address is None:
                time.sleep(0.2)
        if address is None:
            skip("at-spi-bus-launcher meldet keinen Bus")
        try:
            import pyatspi  # noqa: the AT-SPI bus must be there before the library connects
        except ImportError:
            fail("python3-pyatspi fehlt (tools/install-deps)")

        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                   QT_ACCESSIBILITY="1", HOME=home.name, XDG_CONFIG_HOME=home.name + "/.config",
                   XDG_DATA_HOME=home.name + "/.local/share", WINEPREFIX=home.name + "/.wine")
        daten = os.path.join(drive, "astro", "daten")
        program = start([program_path, "--drive-c", drive, "--person1", os.path.join(daten, "ALBRECHT.dat"),
                         "--person2", os.path.join(daten, "HOLLMANN.dat"), "--scheibe"], env=env)
        names = None
        deadline = time.monotonic() + 60
        while names is None and time.monotonic() < deadline:
            if program.poll() is not None:
                fail("das Programm endete mit Status %d" % program.returncode)
            names = find_dial(pyatspi, program)
            if names is None or not names:
                names = None
                time.sleep(0.5)
        if names is None:
            fail("keine Scheibe mit Faktoren im AT-SPI-Baum des Programms; gesehen: " + seen(pyatspi))
        wanted = "Sonne, Person 1, 10 Grad 31 Minuten Wassermann"
        if wanted not in names:
            fail("kein Faktor \"%s\" unter %d Kindern: %s" % (wanted, len(names), names[:5]))
        print("Scheibe mit %d Faktoren, darunter \"%s\"" % (len(names), wanted), flush=True)
        return 0
    finally:
        end(program)
        end(launcher)
        end(x)
        home.cleanup()


if __name__ == "__main__":
    sys.exit(main())
