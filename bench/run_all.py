#!/usr/bin/env python3
"""Runs every benchmark of the game in one go and prints what a player waits
for beside its target: move generation (fast and rules engine), a select
click, the end-of-game test, a redraw at 1x and 2x, start-up and memory.

    python3 bench/run_all.py [BUILD_DIR]
"""

import json
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

BUILD = sys.argv[1] if len(sys.argv) > 1 else "build"
STARTS = 15
# The benchmarks' settings and unsaved games stay out of the user's own: a
# game left unsaved there would stop the start-up at its question.
HOME = tempfile.mkdtemp(prefix="palisade-bench-")
os.environ.update(XDG_CONFIG_HOME=os.path.join(HOME, "config"), XDG_DATA_HOME=os.path.join(HOME, "data"))


def run_benchmark(name, *extra):
    path = os.path.join(BUILD, "bench", name)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    out = subprocess.run([path, "--benchmark_format=json", "--benchmark_repetitions=5",
                          "--benchmark_report_aggregates_only=true", *extra],
                         check=True, capture_output=True, text=True, env=env).stdout
    return {b["run_name"]: b for b in json.loads(out)["benchmarks"] if b.get("aggregate_name") == "median"}


def display_for_start_up():
    """A real X display when Xvfb is installed (started once, outside the timing), else offscreen."""
    if not shutil.which("Xvfb"):
        return None, dict(os.environ, QT_QPA_PLATFORM="offscreen")
    server = subprocess.Popen(["Xvfb", ":93", "-screen", "0", "1280x1024x24"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(1)
    return server, dict(os.environ, DISPLAY=":93")


def start_up():
    """Median wall time to the first drawn game room, and the largest resident set."""
    server, env = display_for_start_up()
    command = [os.path.join(BUILD, "bench", "first_board")]
    times = []
    try:
        for _ in range(STARTS):
            began = time.perf_counter()
            subprocess.run(command, check=True, env=env, stderr=subprocess.DEVNULL)
            times.append((time.perf_counter() - began) * 1000)
    finally:
        if server:
            server.terminate()
    peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024
    return statistics.median(times), peak


def row(what, value, unit, target, met):
    verdict = "met" if met else "MISSED"
    print(f"{what:<44} {value:>12.3f} {unit:<6} target {target:<12} {verdict}")


def main():
    moves = run_benchmark("move_bench")
    room = run_benchmark("room_bench")
    board = run_benchmark("board_bench")
    first_ms, peak_mib = start_up()

    print(f"{'perft from the start':<22} {'fast nps':>14} {'rules nps':>14} {'ratio':>8}")
    for depth in (3, 4):
        fast = moves[f"BM_PerftFast/{depth}"]["nps"]
        rules = moves[f"BM_PerftReference/{depth}"]["nps"]
        print(f"{'depth ' + str(depth):<22} {fast:>14,.0f} {rules:>14,.0f} {fast / rules:>7.1f}x")
    print(f"{'middle game, depth 3':<22} {moves['BM_PerftFastMiddleGame/3']['nps']:>14,.0f}")
    print()
    fast4 = moves["BM_PerftFast/4"]["nps"]
    ratio4 = fast4 / moves["BM_PerftReference/4"]["nps"]
    row("perft depth 4, fast generator", fast4 / 1e6, "M nps", ">= 100", fast4 >= 100e6)
    row("perft depth 4, fast / rules engine", ratio4, "x", ">= 25", ratio4 >= 25)
    select = room["BM_SelectClick"]["real_time"] / 1000
    row("select click -> marks (pick and put down)", select, "us", "< 50", select < 50)
    verdict = room["BM_EndOfGameTest"]["real_time"] / 1000
    row("end-of-game test", verdict, "us", "< 50", verdict < 50)
    for name, label, limit in (("BM_PaintBoard", "redraw 1x", 4), ("BM_PaintBoardHiDpi", "redraw 2x", 8)):
        ms = board[name]["real_time"] / 1000
        row(label, ms, "ms", f"< {limit}", ms < limit)
    row("start-up to the first drawn game room", first_ms, "ms", "< 300", first_ms < 300)
    row("resident memory of the running game", peak_mib, "MiB", "< 60", peak_mib < 60)


if __name__ == "__main__":
    main()
