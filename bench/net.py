#!/usr/bin/env python3
"""Network benchmark: brisko2-batch with R: mapped to an SFTP location against rsync over ssh,
both through the same throwaway OpenSSH server on 127.0.0.1 (scripts/loopback-sshd.sh) and the
same relay (bench/delay-relay.py as ProxyCommand), which delays every chunk by 0 and by 10 ms each
way. For each delay, several runs each taken in turn:

- copy: 2,000 files of 4 KiB in 20 folders into an empty remote folder, against
  `rsync -a --fsync -e ssh` (goal: ratio <= 1.0 at 10 ms);
- scan: a no-change two-way dry run over 20,000 files in 200 folders, both trees equal, the right
  one on the server, against `rsync -a -n -e ssh` one way (goal <= 1.0);
- big: one file of 256 MiB, against `rsync -a --fsync -e ssh` (goal <= 1.2);
- and, for reference, OpenSSH's `sftp` with `put -r` of 100 of the small files (one file at a
  time).

Prints medians, ratios to rsync and a summary of the goals. --skip-brisko times the tools alone.

Usage: python3 bench/net.py [--runs N] [--delays 0,10] [--cases copy,scan,big,sftp]
                            [--files N] [--folders N] [--scan-files N] [--scan-folders N]
                            [--big-mib M] [--sftp-files N] [--skip-brisko]
"""

import argparse
import os
import shlex
import shutil
import statistics
import subprocess
import sys
import tempfile

import benchlib

SERVER_SCRIPT = os.path.join(benchlib.ROOT, "scripts", "loopback-sshd.sh")
# The server as ssh_config names it when reached through the delay relay.
ALIAS = "brisko-test-slow"
STAMP = 1700000000

SCRIPT_COPY = benchlib.session_script("1LTR", "MissingFolder=Auto", "MissingFile=Create")

SCRIPT_UPDATE = benchlib.session_script("Update")

GOALS = {"copy": 1.0, "scan": 1.0, "big": 1.2}


def tree_size(root):
    """The number of files under root and their bytes in all."""
    files = size = 0
    for folder, _, names in os.walk(root):
        for name in names:
            files += 1
            size += os.lstat(os.path.join(folder, name)).st_size
    return files, size


class Bench:
    def __init__(self, args, work):
        self.args = args
        self.work = work
        self.server = os.path.join(work, "sshd")
        self.config = os.path.join(self.server, "ssh_config")
        self.ssh = "ssh -F " + shlex.quote(self.config)
        self.env = dict(os.environ, BRISKO_SSH=self.ssh)
        self.results = []  # (delay, case, brisko median or None, peer name, peer median)

    def server_command(self, *words):
        # The separate SFTP program, started through the user's shell as rsync's server is.
        env = dict(os.environ, LOOPBACK_SFTP_SERVER="/usr/lib/openssh/sftp-server")
        result = subprocess.run(["bash", SERVER_SCRIPT] + list(words), capture_output=True,
                                text=True, env=env)
        if result.returncode != 0:
            sys.exit(result.stderr.strip() or "cannot run " + SERVER_SCRIPT)

    def script(self, name, text):
        path = os.path.join(self.work, name)
        with open(path, "w") as f:
            f.write(text)
        return path

    def brisko(self, left, remote, script, *options):
        return [benchlib.BATCH, "--drive", "L=" + left, "--drive",
                "R=sftp://%s%s" % (ALIAS, remote)] + list(options) + [script]

    def rsync(self, *words):
        return ["rsync", "-e", self.ssh] + list(words)

    def measure(self, delay, case, title, commands, peer, before=None, after=None):
        if self.args.skip_brisko:
            commands = [(name, command) for name, command in commands
                        if not name.startswith("brisko2-batch")]
        print("\n== %s, %d ms each way" % (title, delay))
        rows = benchlib.time_commands(commands, self.args.runs, before=before, env=self.env,
                                      accept=(0,), after=after)
        medians = benchlib.report(rows, peer)
        brisko = next((m for name, m in medians.items() if name.startswith("brisko2-batch")),
                      None)
        self.results.append((delay, case, brisko, peer, medians[peer]))

    def fresh(self, folder):
        def make():
            shutil.rmtree(folder, ignore_errors=True)
            os.makedirs(folder)
            os.sync()  # the removal's own write-back is not charged to the next command
        return make

    def copy_case(self, delay, case, title, source):
        target = os.path.join(self.work, "remote-target")
        expected = tree_size(source)

        def check(name):
            if tree_size(target) != expected:
                sys.exit("%s left %d files of %d bytes in all, not %d of %d"
                         % ((name,) + tree_size(target) + expected))
        self.measure(delay, case, title, [
            ("rsync -a --fsync -e ssh", self.rsync("-a", "--fsync", source + "/",
                                                   "%s:%s/" % (ALIAS, target))),
            ("brisko2-batch (flushed)", self.brisko(source, target,
                                                    self.script("copy.brk", SCRIPT_COPY))),
        ], "rsync -a --fsync -e ssh", before=self.fresh(target), after=check)

    def scan_case(self, delay, left, right):
        self.measure(delay, "scan", "no-change two-way dry run, %d files each side"
                     % self.args.scan_files, [
                         ("rsync -a -n -e ssh (one way)",
                          self.rsync("-a", "-n", left + "/", "%s:%s/" % (ALIAS, right))),
                         ("brisko2-batch --dry-run Update", self.brisko(
                             left, right, self.script("update.brk", SCRIPT_UPDATE),
                             "--dry-run")),
                     ], "rsync -a -n -e ssh (one way)")

    def sftp_case(self, delay, source):
        """OpenSSH's own client, one file after another: a reference, not a goal."""
        target = os.path.join(self.work, "remote-sftp")
        batch = self.script("put.sftp", "put -r %s %s\n" % (source, target))
        print("\n== sftp put -r of %d files of 4 KiB, %d ms each way" % (self.args.sftp_files,
                                                                        delay))
        fresh = self.fresh(target)

        def before():
            fresh()
            os.rmdir(target)  # put -r makes the folder
        times = [benchlib.time_once(["sftp", "-F", self.config, "-b", batch, ALIAS], before)
                 for _ in range(self.args.runs)]
        median = statistics.median(times)
        print("median %.3f s, %.1f ms a file (%d files would take %.1f s)"
              % (median, 1000 * median / self.args.sftp_files, self.args.files,
                 median * self.args.files / self.args.sftp_files))

    def summary(self):
        print("\n== summary: brisko2-batch / peer (goal)")
        for delay, case, brisko, peer, peer_median in self.results:
            ratio = "%.2f" % (brisko / peer_median) if brisko is not None else "-"
            print("%3d ms  %-5s %-30s %8.3f s  ratio %5s  (goal <= %.1f)"
                  % (delay, case, peer, peer_median, ratio, GOALS[case]))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--delays", default="0,10", help="milliseconds each way, comma-separated")
    parser.add_argument("--cases", default="copy,scan,big,sftp")
    parser.add_argument("--files", type=int, default=2000)
    parser.add_argument("--folders", type=int, default=20)
    parser.add_argument("--scan-files", type=int, default=20000)
    parser.add_argument("--scan-folders", type=int, default=200)
    parser.add_argument("--big-mib", type=int, default=256)
    parser.add_argument("--sftp-files", type=int, default=100)
    parser.add_argument("--skip-brisko", action="store_true",
                        help="time the tools alone (rsync, sftp)")
    args = parser.parse_args()
    cases = set(args.cases.split(","))
    delays = [int(d) for d in args.delays.split(",")]
    benchlib.ensure_tools("rsync", "ssh", "sftp", "/usr/sbin/sshd")
    if not args.skip_brisko:
        benchlib.ensure_built()

    work = tempfile.mkdtemp(prefix="brisko-bench-", dir=os.environ.get("BENCH_DIR"))
    bench = Bench(args, work)
    try:
        small = os.path.join(work, "small")
        if cases & {"copy", "sftp"}:
            benchlib.make_tree(small, args.folders, args.files // args.folders, 4096, STAMP)
        few = os.path.join(work, "few")
        if "sftp" in cases:
            benchlib.make_tree(few, 1, args.sftp_files, 4096, STAMP)
        left, right = os.path.join(work, "left"), os.path.join(work, "remote-right")
        if "scan" in cases:
            benchlib.make_tree(left, args.scan_folders, args.scan_files // args.scan_folders, 16,
                               STAMP)
            shutil.copytree(left, right, copy_function=shutil.copy2)
        big = os.path.join(work, "big")
        if "big" in cases:
            os.makedirs(big)
            with open(os.path.join(big, "large.bin"), "wb") as out:
                block = os.urandom(1 << 20)
                for _ in range(args.big_mib):
                    out.write(block)

        for delay in delays:
            # Rewrites ssh_config with the relay's delay; the server itself keeps running.
            bench.server_command("start", bench.server, str(delay))
            if "copy" in cases:
                bench.copy_case(delay, "copy", "%d files of 4 KiB in %d folders"
                                % (args.files, args.folders), small)
            if "scan" in cases:
                bench.scan_case(delay, left, right)
            if "big" in cases:
                bench.copy_case(delay, "big", "one file of %d MiB" % args.big_mib, big)
            if "sftp" in cases:
                bench.sftp_case(delay, few)
        bench.summary()
    finally:
        bench.server_command("stop", bench.server)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
