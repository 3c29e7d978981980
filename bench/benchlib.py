"""Shared helpers of the benchmarks: building trees, timing commands, printing ratios."""

import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# BRISKO_BATCH names another build of the program, to compare two builds on the same machine.
BATCH = os.environ.get("BRISKO_BATCH") or os.path.join(ROOT, "build", "src", "batch",
                                                       "brisko2-batch")


# The Debian packages of the tools whose package is not named after them.
PACKAGES = {"ssh": "openssh-client", "sftp": "openssh-client", "/usr/sbin/sshd": "openssh-server"}


def session_script(mode, *keys):
    """A script of one session between the whole drives L: and R: in the given update mode, with
    further key lines before its Execute."""
    lines = ["LeftRoot=L:", "RightRoot=R:", "LeftPath=\\", "RightPath=\\",
             "UpdateMode=" + mode, *keys, "Execute"]
    return "\n".join(lines) + "\n"


def ensure_tools(*tools):
    """Installs the standard tools that the benchmark compares against when any is missing."""
    missing = sorted({PACKAGES.get(tool, tool) for tool in tools if shutil.which(tool) is None})
    if missing:
        subprocess.run(["bash", os.path.join(ROOT, "scripts", "install-deps.sh")] + missing,
                       check=True)


def ensure_built():
    if not os.path.exists(BATCH):
        subprocess.run(["bash", os.path.join(ROOT, "scripts", "build.sh"), "build",
                        "-DCMAKE_BUILD_TYPE=Release"], check=True)


def make_tree(root, folders, files_per_folder, size, stamp):
    """Writes folders x files_per_folder files of the given size, all stamped alike."""
    payload = b"x" * size
    for f in range(folders):
        folder = os.path.join(root, "dir%04d" % f)
        os.makedirs(folder, exist_ok=True)
        for n in range(files_per_folder):
            path = os.path.join(folder, "file%04d.dat" % n)
            with open(path, "wb") as out:
                out.write(payload)
            os.utime(path, (stamp, stamp))


def drop_caches():
    """Drops the page cache when allowed (root), so that cold and warm runs can be told apart."""
    try:
        subprocess.run(["sync"], check=True)
        with open("/proc/sys/vm/drop_caches", "w") as f:
            f.write("3\n")
        return True
    except OSError:
        return False


def time_once(command, before=None, env=None, accept=(0, 3)):
    """Runs a command once; returns its wall-clock seconds. Exit statuses other than accept end
    the benchmark."""
    if before:
        before()
    with tempfile.TemporaryFile() as output:
        start = time.perf_counter()
        result = subprocess.run(command, stdout=output, stderr=subprocess.STDOUT, env=env)
        elapsed = time.perf_counter() - start
        if result.returncode not in accept:
            output.seek(0)
            said = output.read().decode(errors="replace").splitlines()[-20:]
            sys.exit("command failed (%d): %s\n%s" % (result.returncode, " ".join(command),
                                                       "\n".join(said)))
    return elapsed


def time_commands(commands, runs, before=None, env=None, accept=(0, 3), after=None):
    """Times each named command several times, taking them in turn so that the machine's drift
    (other work, the disk's write-back) falls on all of them alike; returns [(name, times)].
    after(name), when given, checks what each run left."""
    times = {name: [] for name, _ in commands}
    for _ in range(runs):
        for name, command in commands:
            times[name].append(time_once(command, before, env, accept))
            if after:
                after(name)
    return [(name, times[name]) for name, _ in commands]


def peak_memory_mb(command, env=None):
    """Runs a command once and returns its peak resident memory in MB. The peak that the kernel
    keeps for a child started from here counts this interpreter's pages from before the child
    became the command, so GNU time, a small program of its own, starts it where there is one."""
    if os.path.exists("/usr/bin/time"):
        result = subprocess.run(["/usr/bin/time", "-f", "%M"] + list(command),
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                                env=env)
        return int(result.stderr.strip().splitlines()[-1]) / 1024.0
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               env=env)
    _, _, usage = os.wait4(process.pid, 0)
    return usage.ru_maxrss / 1024.0


def longest_input_gap_ms(command):
    """The longest stretch, in ms, in which a run of the console runner let no input through:
    the time between two calls of its display's pump (the core calls the window's the same
    way), counted by a perf probe on that function. None where perf or root is missing."""
    binary = command[0]
    if os.geteuid() != 0 or shutil.which("perf") is None or shutil.which("nm") is None:
        return None
    symbols = subprocess.run(["nm", binary], capture_output=True, text=True).stdout
    address = next((line.split()[0] for line in symbols.splitlines()
                    if line.endswith("BatchDisplay4pumpEv")), None)
    if address is None:
        return None
    probe = "probe_brisko2bench:pump"
    subprocess.run(["perf", "probe", "-q", "-d", "probe_brisko2bench:*"], capture_output=True)
    added = subprocess.run(["perf", "probe", "-q", "-x", binary, "--add",
                            "probe_brisko2bench:pump=0x" + address], capture_output=True)
    if added.returncode != 0:
        return None
    with tempfile.TemporaryDirectory() as work:
        data = os.path.join(work, "perf.data")
        subprocess.run(["perf", "record", "-q", "-o", data, "-e", probe, "--"] + list(command),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        script = subprocess.run(["perf", "script", "-i", data, "-F", "time"],
                                capture_output=True, text=True).stdout
    subprocess.run(["perf", "probe", "-q", "-d", "probe_brisko2bench:*"], capture_output=True)
    times = [float(line.strip().rstrip(":")) for line in script.splitlines() if line.strip()]
    gaps = [b - a for a, b in zip(times, times[1:])]
    return max(gaps) * 1000 if gaps else None


def report(rows, reference):
    """Prints median times and ratios against the named reference row."""
    medians = {name: statistics.median(times) for name, times in rows}
    base = medians[reference]
    print("%-40s %10s %10s %10s %8s" % ("command", "median s", "min s", "max s", "ratio"))
    for name, times in rows:
        print("%-40s %10.3f %10.3f %10.3f %8.2f" % (name, medians[name], min(times), max(times),
                                                    medians[name] / base))
    return medians
