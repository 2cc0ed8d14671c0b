#!/usr/bin/env python3
"""Writes an installation description of the benchmarks' shape to standard output.

N displays in a row (an image generator each, one window showing its own
3000 mm screen, in active stereo; the first window is the main window) and
16 tracking stations of 16 trackers. The same shape as
bench/installation_bench.cpp, so that whole-process timings of korvrc can be
set beside the in-process ones:

    bench/make_installation.py 512 > /tmp/installation-512.json
    korvrc export /tmp/installation-512.json --dir /tmp/out --loose --force
"""
import json
import sys


def description(displays):
    views, generators, stations = [], [], []
    for display in range(displays):
        x = 3000.0 * display
        views.append({"name": f"View{display}",
                      "screen": {"upperLeft": [x, 1500, 1500],
                                 "lowerLeft": [x, 1500, -1500],
                                 "lowerRight": [x + 3000, 1500, -1500]}})
        window = {"name": f"Window{display}", "view": f"View{display}", "rendering": "Stereo"}
        if display == 0:
            window["main"] = True
        generators.append({"name": f"localhost:0.{display}", "windows": [window]})
    for station in range(16):
        stations.append({"name": f"Station{station}", "type": "IS900", "daemon": "Polhemus1",
                         "trackers": [{"number": number} for number in range(16)]})
    return {"format": "installation-description/1", "name": "Generated", "views": views,
            "imageGenerators": generators, "trackingStations": stations}


def main():
    if len(sys.argv) != 2 or not sys.argv[1].isdigit() or int(sys.argv[1]) < 1:
        sys.exit("usage: make_installation.py DISPLAYS   (a whole number, 1 or more)")
    json.dump(description(int(sys.argv[1])), sys.stdout)
    sys.stdout.write("\n")


if __name__ == "__main__":
    main()
