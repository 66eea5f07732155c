#!/usr/bin/env python3
"""The Windows 7 runs of the tests (src/platform/as_windows7.h).

  windows7_fallbacks.py prepare FOLDER EXPORT_LIST    a fresh folder to play Windows 7 SP1 from
  windows7_fallbacks.py check FOLDER EXPORT_LIST RUN  after the run: did its fallbacks run?

In such a run the on-demand loader of every Velmora process finds only what Windows 7 SP1 exports,
refuses the search flags of later loaders, and notes both in FOLDER/<exe>.log. A function noted
missing was asked for and not given, so its caller went its fallback way: nothing can call it
otherwise, for the import check keeps it out of the import table. The check wants every note
listed for the run from the process named, and no function missing that Windows 7 SP1 has (a
broken switch, or a list that could not be read).
"""
import pathlib
import shutil
import sys

DPI_AT_A_GIVEN_DPI = [
    # Frame, message font and metrics at a DPI other than the system's: computed at the system
    # DPI and scaled by hand.
    "missing user32.dll!AdjustWindowRectExForDpi",
    "missing user32.dll!SystemParametersInfoForDpi",
    "missing user32.dll!GetSystemMetricsForDpi",
    # The system DPI itself, from the screen's device context.
    "missing user32.dll!GetDpiForSystem",
]
# A window's own DPI: the system's, as on a system without per-window (Windows 10) or per-monitor
# (Windows 8.1) DPI.
WINDOW_DPI = ["missing user32.dll!GetDpiForWindow", "missing shcore.dll!GetDpiForMonitor"]

# Per run, per process: the notes it must have left.
EXPECTED = {
    # Every window, made in the test's own process at 100, 150 and 200 %.
    "windows_test": {"windows_test.exe": DPI_AT_A_GIVEN_DPI},
    # velmora.exe started as a user starts it, handing the choice to the client.
    "main_window_test": {"velmora.exe": DPI_AT_A_GIVEN_DPI + WINDOW_DPI},
    # velmora.exe's update check and the hand-over of the download to the browser: WinHTTP and the
    # shell, which nothing has loaded before, come from the system folder by their full paths, as
    # Windows 7 without its 2011 loader update needs.
    "update_e2e_test": {
        "velmora.exe": WINDOW_DPI + ["loaded by full path winhttp.dll", "loaded by full path shell32.dll"]
    },
}


def exports(path):
    names = set()
    for line in pathlib.Path(path).read_text().splitlines():
        line = line.split("#", 1)[0].strip()
        if line:
            names.add(line.lower())
    return names


def prepare(folder, export_list):
    folder = pathlib.Path(folder)
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    shutil.copyfile(export_list, folder / "windows7_exports.txt")
    print(f"playing Windows 7 SP1 from {folder}")
    return 0


def check(folder, export_list, run):
    known = exports(export_list)
    failures = []
    for exe, expected in EXPECTED[run].items():
        log = pathlib.Path(folder) / f"{exe}.log"
        notes = set(log.read_text().splitlines()) if log.exists() else set()
        print(f"{exe}: " + ("; ".join(sorted(notes)) or "no notes"))
        failures += [f"{exe} did not leave \"{note}\": that fallback did not run" for note in expected
                     if note not in notes]
        failures += [f"{exe}: \"{note}\", but Windows 7 SP1 has it" for note in sorted(notes)
                     if note.startswith("missing ") and note.split(" ", 1)[1].lower() in known]
    for failure in failures:
        print("FAILED: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "prepare":
        sys.exit(prepare(sys.argv[2], sys.argv[3]))
    if len(sys.argv) == 5 and sys.argv[1] == "check" and sys.argv[4] in EXPECTED:
        sys.exit(check(sys.argv[2], sys.argv[3], sys.argv[4]))
    sys.exit(__doc__)
