#!/usr/bin/env python3
"""Scan benchmark: a no-change two-way run over 100,000 files in 1,000 folders on each side,
against rsync's one-way dry run and a plain find walk with stat of both trees (the floor);
then the peak memory of planning 100,000 copies, and what it comes to per planned copy; then,
as root with perf, the longest time either scan let no input through.

Usage: python3 bench/scan.py [--runs N] [--folders F] [--files-per-folder K]
       (a million files: --folders 10000)
"""

import argparse
import os
import shutil
import tempfile

import benchlib

SCRIPT_UPDATE = benchlib.session_script("Update")

SCRIPT_PLAN_COPIES = benchlib.session_script("LMaster")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--folders", type=int, default=1000)
    parser.add_argument("--files-per-folder", type=int, default=100)
    args = parser.parse_args()
    benchlib.ensure_tools("rsync")
    benchlib.ensure_built()

    work = tempfile.mkdtemp(prefix="brisko-bench-")
    try:
        left, right, empty = (os.path.join(work, n) for n in ("left", "right", "empty"))
        stamp = 1700000000
        print("building %d x %d files on each side in %s ..." % (args.folders,
                                                                 args.files_per_folder, work))
        benchlib.make_tree(left, args.folders, args.files_per_folder, 16, stamp)
        shutil.copytree(left, right, copy_function=shutil.copy2)
        os.makedirs(empty)
        update = os.path.join(work, "update.brk")
        plan = os.path.join(work, "plan.brk")
        with open(update, "w") as f:
            f.write(SCRIPT_UPDATE)
        with open(plan, "w") as f:
            f.write(SCRIPT_PLAN_COPIES)

        drives = ["--drive", "L=" + left, "--drive", "R=" + right]
        rows = benchlib.time_commands([
            ("find + stat of both trees (floor)",
             ["find", left, right, "-printf", "%s %T@\\n"]),
            ("rsync -a --dry-run (one way)", ["rsync", "-a", "--dry-run", left + "/", right + "/"]),
            ("brisko2-batch --dry-run Update (two way)",
             [benchlib.BATCH] + drives + ["--dry-run", update]),
        ], args.runs)
        print()
        benchlib.report(rows, "rsync -a --dry-run (one way)")

        # The same run with nothing to copy is the floor; what planning adds, per copy, is the
        # figure that must stay small on big trees.
        planned = args.folders * args.files_per_folder
        copies = [benchlib.BATCH, "--drive", "L=" + left, "--drive", "R=" + empty,
                  "--dry-run", plan]
        nothing = [benchlib.BATCH, "--drive", "L=" + empty, "--drive", "R=" + empty,
                   "--dry-run", plan]
        peak = benchlib.peak_memory_mb(copies)
        floor = benchlib.peak_memory_mb(nothing)
        print()
        print("peak memory while planning %d copies: %.1f MB (%.1f MB with none planned): "
              "%.0f bytes a planned copy" % (planned, peak, floor,
                                             (peak - floor) * 1024 * 1024 / planned))
        for name, command in (("no-change scan", [benchlib.BATCH] + drives + ["--dry-run",
                                                                              update]),
                              ("planning the copies", copies)):
            gap = benchlib.longest_input_gap_ms(command)
            if gap is not None:
                print("longest time without input let through, %s: %.0f ms" % (name, gap))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
