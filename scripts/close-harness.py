#!/usr/bin/env python3
"""Closes the game's or match_view's window many times, as a window manager does, and counts the
closes the program did not honour.

Each trial starts the program from a run folder (build-game/run/ by default) on an Xvfb server of
its own with no window manager, waits for its window, presses and holds the controllers' keys
through XTEST (unless --no-keys) and, at a random moment, sends the window a WM_PROTOCOLS client
message carrying WM_DELETE_WINDOW. A close is honoured when the program ends with exit code 0 within
--wait seconds and its log ends with "Logging finished". A close that is not honoured gets the
threads' stacks (gdb, when installed) and the log written into --out, and a second close. Busy
loops (--busy) share the cores with the trials. match_view plays every shipped level in a duel and
a training against each bot, in turn.

A developer's tool: it needs Xvfb, xdotool and libX11, and is not run by the test suite.
Usage: scripts/close-harness.py [--program game|match_view] [--trials N] [--jobs N] [--busy N]
                                [--no-keys] [--min-close S] [--max-close S] [--run-dir DIR]
"""
import argparse
import ctypes
import ctypes.util
import os
import random
import shutil
import subprocess
import sys
import tempfile
import threading
import time
from concurrent.futures import ThreadPoolExecutor

XLIB = ctypes.CDLL(ctypes.util.find_library("X11"))
XLIB.XOpenDisplay.restype = ctypes.c_void_p
XLIB.XOpenDisplay.argtypes = [ctypes.c_char_p]
XLIB.XInternAtom.restype = ctypes.c_ulong
XLIB.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
XLIB.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
XLIB.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
XLIB.XCloseDisplay.argtypes = [ctypes.c_void_p]
# A window that went away before its close arrives is no error of the harness's.
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
IGNORE_X_ERRORS = ERROR_HANDLER(lambda display, error: 0)
XLIB.XSetErrorHandler.argtypes = [ERROR_HANDLER]
XLIB.XSetErrorHandler(IGNORE_X_ERRORS)

CLIENT_MESSAGE = 33
# Both controllers' keys of the shipped application.xml: moves, spit and suck.
KEYS = ["Left", "Right", "Up", "Down", "Control_R", "Shift_R", "a", "d", "w", "s", "Control_L", "Shift_L"]


class XClientMessageEvent(ctypes.Structure):
    # XClientMessageEvent, padded to the size of an XEvent.
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]


def send_close(display, window):
    """Sends WM_DELETE_WINDOW to the window as a window manager does."""
    connection = XLIB.XOpenDisplay(display.encode())
    if not connection:
        return
    event = XClientMessageEvent(type=CLIENT_MESSAGE, window=window, format=32)
    event.message_type = XLIB.XInternAtom(connection, b"WM_PROTOCOLS", 0)
    event.data[0] = XLIB.XInternAtom(connection, b"WM_DELETE_WINDOW", 0)
    XLIB.XSendEvent(connection, window, 0, 0, ctypes.byref(event))
    XLIB.XSync(connection, 0)
    XLIB.XCloseDisplay(connection)


def pondorix_windows(environment):
    return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Pondorix$"], env=environment,
                          capture_output=True, text=True).stdout.split()


def find_window(environment, process, timeout):
    """The program's window: the one window titled Pondorix on the trial's display."""
    deadline = time.time() + timeout
    while time.time() < deadline and process.poll() is None:
        found = pondorix_windows(environment)
        if len(found) == 1:
            return int(found[0])
        time.sleep(0.05)
    return 0


def start_server():
    """An Xvfb server on a free display number (Xvfb picks it); (process, display name)."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-noreset",
                               "-nolisten", "tcp"], pass_fds=[write_end], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as numbers:
        number = numbers.readline().strip()
    if not number:
        server.kill()
        sys.exit("close-harness: Xvfb did not start")
    return server, ":" + number


def match_view_commands(run_dir):
    data = os.path.join(run_dir, "data")
    levels = sorted(f for f in os.listdir(os.path.join(data, "levels")) if f.endswith(".xml"))
    bots = sorted(f for f in os.listdir(os.path.join(data, "ais")) if f.endswith(".xml"))
    duels = [["data/levels/" + level, "data/players/bubbles.xml", "data/players/sprout.xml"] for level in levels]
    trainings = [["data/levels/" + levels[0], "data/players/bubbles.xml", "data/ais/" + bot] for bot in bots]
    return [["./match_view"] + arguments for arguments in duels + trainings]


def press_keys(environment, rnd, stop, gap):
    """Presses, holds and lets go of random keys until stop is set; lets go of every key at the end."""
    held = set()
    while not stop.is_set():
        key = rnd.choice(KEYS)
        action = "keyup" if key in held else "keydown"
        subprocess.run(["xdotool", action, key], env=environment)
        (held.discard if key in held else held.add)(key)
        stop.wait(rnd.uniform(0.0, gap))
    if held:
        subprocess.run(["xdotool", "keyup"] + sorted(held), env=environment)


def write_report(args, number, command, close_at, process, log):
    with open(os.path.join(args.out, f"not-honoured-{number}.txt"), "w") as report:
        report.write(f"{' '.join(command)}\nclosed {close_at:.2f} s after the window showed\n\n")
        if shutil.which("gdb"):
            report.write(subprocess.run(["gdb", "-p", str(process.pid), "-batch", "-ex", "thread apply all bt 16"],
                                        capture_output=True, text=True).stdout)
        report.write("\nlog:\n" + log)


def read_log(home):
    try:
        with open(os.path.join(home, "Pondorix", "Pondorix.log")) as log:
            return log.read()
    except OSError:
        return ""


def trial(number, display, command, args):
    rnd = random.Random(args.seed * 1000003 + number)
    home = tempfile.mkdtemp(prefix="close-harness-")
    environment = dict(os.environ, DISPLAY=display, XDG_DATA_HOME=home)
    if pondorix_windows(environment):
        sys.exit(f"close-harness: a window titled Pondorix is on {display} already")
    process = subprocess.Popen(command, cwd=args.run_dir, env=environment, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    window = find_window(environment, process, 60)
    if not window:
        process.kill()
        process.wait()
        shutil.rmtree(home, ignore_errors=True)
        return "no window"
    stop = threading.Event()
    keys = threading.Thread(target=press_keys, args=(environment, rnd, stop, args.key_gap))
    if args.keys:
        keys.start()
    close_at = rnd.uniform(args.min_close, args.max_close)
    time.sleep(close_at)
    if process.poll() is not None:
        # The keys chose the game's own way out first.
        stop.set()
        if keys.is_alive():
            keys.join()
        log = read_log(home)
        shutil.rmtree(home, ignore_errors=True)
        if process.returncode == 0 and log.endswith("Logging finished ==============\n"):
            return "ended before the close"
        print(f"trial {number}: ended before the close with exit code {process.returncode}:\n{log}", flush=True)
        return "failed before the close"
    send_close(display, window)
    try:
        code = process.wait(timeout=args.wait)
        result = "honoured" if code == 0 and read_log(home).endswith("Logging finished ==============\n") else \
            f"ended with exit code {code} or an unfinished log"
    except subprocess.TimeoutExpired:
        result = "not honoured"
        write_report(args, number, command, close_at, process, read_log(home))
        send_close(display, window)
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
    stop.set()
    if keys.is_alive():
        keys.join()
    shutil.rmtree(home, ignore_errors=True)
    if result != "honoured":
        print(f"trial {number}: {result}: {' '.join(command)}, closed at {close_at:.2f} s", flush=True)
    return result


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--program", choices=["game", "match_view"], default="match_view")
    parser.add_argument("--trials", type=int, default=56)
    parser.add_argument("--jobs", type=int, default=2, help="trials at a time, each on an X server of its own")
    parser.add_argument("--busy", type=int, default=2, help="busy loops sharing the cores")
    parser.add_argument("--keys", action=argparse.BooleanOptionalAction, default=True)
    parser.add_argument("--key-gap", type=float, default=0.5, help="longest pause between key changes, seconds")
    parser.add_argument("--min-close", type=float, default=0.0)
    parser.add_argument("--max-close", type=float, default=20.0)
    parser.add_argument("--wait", type=float, default=10.0, help="seconds a close has to end the program")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--run-dir", default="build-game/run")
    parser.add_argument("--out", default="close-harness-reports")
    args = parser.parse_args()
    args.run_dir = os.path.abspath(args.run_dir)
    os.makedirs(args.out, exist_ok=True)
    commands = [["./pondorix"]] if args.program == "game" else match_view_commands(args.run_dir)
    servers = [start_server() for _ in range(args.jobs)]
    busy = [subprocess.Popen(["sh", "-c", "while :; do :; done"]) for _ in range(args.busy)]
    counts = {}
    try:
        def run_job(job):
            return [trial(n, servers[job][1], commands[n % len(commands)], args)
                    for n in range(job, args.trials, args.jobs)]

        with ThreadPoolExecutor(args.jobs) as pool:
            for results in pool.map(run_job, range(args.jobs)):
                for result in results:
                    counts[result] = counts.get(result, 0) + 1
    finally:
        for child in busy + [server for server, _ in servers]:
            child.kill()
    print(f"closes tried: {sum(counts.values())}; " + "; ".join(f"{k}: {v}" for k, v in sorted(counts.items())))
    return 0 if set(counts) <= {"honoured"} else 1


if __name__ == "__main__":
    sys.exit(main())
