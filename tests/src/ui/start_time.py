#!/usr/bin/python3
"""Measures the program's start: from starting the process to its main window being mapped on the
X server, and its resident memory three seconds later. Run inside an X server of the design size:

    xvfb-run -a -s "-screen 0 1440x900x24" tests/src/ui/start_time.py build/release/src/ui/melvarin-studio [runs]

Each of the five runs (or [runs]) gets fresh settings and data folders; the medians are printed.
The same measure of build/release/bench/ui/start_floor, a bare window of the same title and size,
is the floor for the machine as loaded at the time. The program's own memory leaves out the
shared memory segments it maps, such as a JACK server's, which are shown apart. Needs xev and
xprop (Debian x11-utils)."""

import os
import statistics
import subprocess
import sys
import tempfile
import time

MAIN_WINDOW_TITLE = "Melvarin Studio"


def window_title(window_id):
    out = subprocess.run(["xprop", "-id", window_id, "WM_NAME"], capture_output=True, text=True)
    return out.stdout.split("=", 1)[1].strip().strip('"') if "=" in out.stdout else ""


def resident_mb(pid):
    """The resident memory in MB: the whole, and apart the shared memory segments it maps (JACK's
    server segment, which every client maps); the program's own is the whole less those."""
    fields = {}
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            name, _, value = line.partition(":")
            if name in ("VmRSS", "RssAnon", "RssFile", "RssShmem"):
                fields[name] = int(value.split()[0]) / 1024.0
    return fields


def one_run(program):
    # Every window mapped on the screen is reported by xev, one line per event, as it happens.
    watcher = subprocess.Popen(["stdbuf", "-oL", "xev", "-root", "-event", "substructure"],
                               stdout=subprocess.PIPE, text=True)
    time.sleep(0.5)  # xev is listening once it has started
    with tempfile.TemporaryDirectory() as home:
        env = dict(os.environ, XDG_CONFIG_HOME=home + "/config", XDG_DATA_HOME=home + "/data")
        start = time.monotonic()
        app = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
        mapped = None
        for line in watcher.stdout:
            if line.startswith("MapNotify"):
                at = time.monotonic()
                window = next(watcher.stdout).split("window ")[1].split(",")[0]
                if window_title(window) == MAIN_WINDOW_TITLE:
                    mapped = at - start
                    break
        watcher.kill()
        time.sleep(3)
        memory = resident_mb(app.pid)
        memory["own"] = memory["VmRSS"] - memory["RssShmem"]
        app.kill()
        app.wait()
    return mapped * 1000.0, memory


def main():
    program = sys.argv[1]
    runs = [one_run(program) for _ in range(int(sys.argv[2]) if len(sys.argv) > 2 else 5)]
    for mapped, memory in runs:
        print(f"main window mapped after {mapped:.0f} ms, resident {memory['own']:.1f} MB of its "
              f"own ({memory['RssAnon']:.1f} anonymous, {memory['RssFile']:.1f} files), "
              f"{memory['RssShmem']:.1f} MB shared segments")
    print(f"median: {statistics.median(r[0] for r in runs):.0f} ms, "
          f"{statistics.median(r[1]['own'] for r in runs):.1f} MB of its own, "
          f"{statistics.median(r[1]['RssShmem'] for r in runs):.1f} MB shared segments")


if __name__ == "__main__":
    main()
