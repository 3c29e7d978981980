#!/usr/bin/env python3
"""Copy benchmark: one file of 1 GiB, 20,000 files of 4 KiB in 200 folders and 20,000 files of
4 KiB in one folder, copied into an empty folder by brisko2-batch (whose copies are flushed to
disk) and by the standard tools: `cp -a` followed by `sync` and `rsync -a --fsync` (flushed, like
with like), and plain `cp -a` and `rsync -a` (unflushed, for reference). Several runs each;
prints medians and the ratio of every command to `rsync -a --fsync`.

BRISKO_BATCH_BEFORE names a second build of brisko2-batch to time in the same turns (before and
after a change, under the same load).

Usage: python3 bench/copy.py [--runs N] [--big-mib M] [--small-files K]
"""

import argparse
import os
import shutil
import subprocess
import tempfile

import benchlib

SCRIPT = benchlib.session_script("1LTR", "MissingFolder=Auto", "MissingFile=Create")


def bench_case(title, source, work, runs):
    target = os.path.join(work, "target")
    script = os.path.join(work, "copy.brk")
    with open(script, "w") as f:
        f.write(SCRIPT)

    def fresh_target():
        shutil.rmtree(target, ignore_errors=True)
        os.makedirs(target)
        os.sync()  # the removal's own write-back is not charged to the next command

    brisko = [benchlib.BATCH, "--drive", "L=" + source, "--drive", "R=" + target, script]
    commands = [
        ("cp -a + sync", ["sh", "-c", 'cp -a "$0"/. "$1"/ && sync', source, target]),
        ("rsync -a --fsync", ["rsync", "-a", "--fsync", source + "/", target + "/"]),
        ("brisko2-batch (flushed)", brisko),
    ]
    before = os.environ.get("BRISKO_BATCH_BEFORE")
    if before:
        commands.append(("brisko2-batch before (flushed)", [before] + brisko[1:]))
    commands += [
        ("cp -a (unflushed)", ["cp", "-a", source + "/.", target + "/"]),
        ("rsync -a (unflushed)", ["rsync", "-a", source + "/", target + "/"]),
    ]
    print("\n== %s" % title)
    rows = benchlib.time_commands(commands, runs, before=fresh_target)
    benchlib.report(rows, "rsync -a --fsync")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--big-mib", type=int, default=1024)
    parser.add_argument("--small-files", type=int, default=20000)
    args = parser.parse_args()
    benchlib.ensure_tools("rsync")
    benchlib.ensure_built()

    work = tempfile.mkdtemp(prefix="brisko-bench-", dir=os.environ.get("BENCH_DIR"))
    try:
        big = os.path.join(work, "big")
        os.makedirs(big)
        with open(os.path.join(big, "large.bin"), "wb") as out:
            block = os.urandom(1 << 20)
            for _ in range(args.big_mib):
                out.write(block)
        bench_case("one file of %d MiB" % args.big_mib, big, work, args.runs)
        shutil.rmtree(big)

        small = os.path.join(work, "small")
        benchlib.make_tree(small, 200, args.small_files // 200, 4096, 1700000000)
        bench_case("%d files of 4 KiB in 200 folders" % args.small_files, small, work, args.runs)
        shutil.rmtree(small)

        flat = os.path.join(work, "flat")
        benchlib.make_tree(flat, 1, args.small_files, 4096, 1700000000)
        bench_case("%d files of 4 KiB in one folder" % args.small_files, flat, work, args.runs)
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
