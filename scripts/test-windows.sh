#!/usr/bin/env bash
# Cross-builds the core and the console runner for Windows (mingw-w64), runs their tests as
# Windows programs under Wine in a fresh prefix, then runs the demo script under Wine with L: and
# R: as drive letters of the prefix and checks that it gives the same records and the same trees
# as on Linux, file by file (content and stamps).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
started=$SECONDS

cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DBRISKO_BUILD_GUI=OFF -DBRISKO_WERROR=ON >/dev/null
cmake --build build-win -j "$(nproc)"
# Only the system's own DLLs: the runtimes are linked in.
if x86_64-w64-mingw32-objdump -p build-win/src/batch/brisko2-batch.exe | grep -i 'DLL Name: lib'; then
    echo "brisko2-batch.exe needs runtime DLLs beside it" >&2
    exit 1
fi

work=$(mktemp -d)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all TZ=UTC
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
# The first start makes the prefix and takes a while. Then the server runs on, with the
# system's services started once (they must not hold a test's output open), so that each test
# program starts at once.
wine cmd /c exit >/dev/null 2>&1
wineserver -w
wineserver -p >/dev/null 2>&1
wine cmd /c exit >/dev/null 2>&1
ctest --test-dir build-win --output-on-failure

# The demo, once on Linux and once under Wine, on fresh copies of the samples.
[ -x build/src/batch/brisko2-batch ] || {
    [ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja -DBRISKO_BUILD_GUI=OFF >/dev/null
    cmake --build build -j "$(nproc)" --target brisko2-batch
}
samples_in() {
    mkdir -p "$1"
    cp -r samples/left samples/right "$1"/
    touch -d '2024-03-01 09:00' "$1"/left/DOCS/* "$1"/right/DOCS/* "$1"/*/PHOTOS/*
    touch -d '2024-03-04 17:30' "$1"/left/DOCS/budget.txt
    touch -d '2024-03-02 12:00' "$1"/left/PHOTOS/harbour.jpg
}
# Every entry with its kind; files and links with their size and stamp (a folder's own stamp is
# the moment of the run).
trees_of() {
    (cd "$1" && find left right \( -type d -printf 'd %p\n' \) -o \
        -printf '%y %p %s %TY-%Tm-%Td %TH:%TM:%TS\n' | sort)
}
samples_in "$work/linux"
samples_in "$work/windows"
linux_status=0
build/src/batch/brisko2-batch --drive "L=$work/linux/left" --drive "R=$work/linux/right" \
    samples/demo.brk >"$work/linux.records" || linux_status=$?
# (Replacing any letter a test program left mapped when it ended early.)
ln -sfn "$work/windows/left" "$WINEPREFIX/dosdevices/l:"
ln -sfn "$work/windows/right" "$WINEPREFIX/dosdevices/r:"
windows_status=0
wine build-win/src/batch/brisko2-batch.exe samples/demo.brk >"$work/windows.records" \
    </dev/null 2>"$work/windows.errors" || windows_status=$?

failed=0
[ "$linux_status" = "$windows_status" ] ||
    { echo "demo exit status: Linux $linux_status, Windows $windows_status"; failed=1; }
diff -u "$work/linux.records" "$work/windows.records" || failed=1
diff -u <(trees_of "$work/linux") <(trees_of "$work/windows") || failed=1
diff -r "$work/linux" "$work/windows" || failed=1
if [ "$failed" -ne 0 ]; then
    cat "$work/windows.errors" >&2
    echo "The demo under Wine differs from the demo on Linux." >&2
    exit 1
fi
echo "The demo under Wine left the same records and trees as on Linux (exit status $linux_status)."
echo "Windows tests and demo: $((SECONDS - started)) s."
