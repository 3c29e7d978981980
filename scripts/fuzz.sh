#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz (clang, AddressSanitizer, UndefinedBehaviorSanitizer),
# runs every input kept in tests/fuzz/regressions and every seed of tests/fuzz/corpus once, then
# fuzzes each target for SECONDS (30 by default) from a copy of its seeds, so that nothing new is
# written into the repository. Any crash, sanitizer report, leak, excess memory or slow input
# (more than a few seconds: every input must be read in linear time) fails the run, and the input
# that shows it is named.
#   scripts/fuzz.sh [SECONDS_PER_TARGET]
set -euo pipefail
seconds=${1:-30}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# Seconds one input may take at most.
timeout=5
# target:largest input in bytes
targets=(script_check:16384 value_expansion:65536 masks:32768 locations:16384 sftp_replies:16384)

build=$root/build-fuzz
# Light optimisation and line tables only: quicker to build, assertions kept, stacks still named.
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DBRISKO_FUZZ=ON -DBRISKO_BUILD_GUI=OFF \
    -DBRISKO_BUILD_TESTS=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" >/dev/null
cmake --build "$build" -j "$(nproc)" --target fuzzers

export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Reproducers outlive the run: keep them under the build folder.
artifacts=$build/fuzz-artifacts
mkdir -p "$artifacts"

# fuzz TARGET ARGUMENTS...: one run of the target; on failure, says why and which input.
fuzz() {
    local target=$1
    shift
    local log=$work/$target.log
    local options=(-rss_limit_mb=2048 -timeout="$timeout" -artifact_prefix="$artifacts/$target/")
    # The words of the target's input (keys, macros, mask characters), when it has a list of them.
    [ -f "tests/fuzz/$target.dict" ] && options+=(-dict="tests/fuzz/$target.dict")
    mkdir -p "$artifacts/$target"
    local reproducer=
    if "$build/tests/fuzz/fuzz_$target" "${options[@]}" "$@" >"$log" 2>&1; then
        # Inputs run one by one are timed but never stopped: the first one too slow fails here.
        reproducer=$(awk -v limit=$((timeout * 1000)) \
            '/^Executed .* in [0-9]+ ms$/ && $(NF - 1) > limit { print $2; exit }' "$log")
        [ -z "$reproducer" ] && return 0
        echo "fuzz_$target: $reproducer took longer than ${timeout}s" >&2
    else
        tail -n 40 "$log" >&2
        reproducer=$(grep -o "Test unit written to .*" "$log" | sed 's/Test unit written to //' | tail -n 1)
        [ -z "$reproducer" ] && reproducer=$(grep -o "^Running: .*" "$log" | sed 's/Running: //' | tail -n 1)
    fi
    echo "fuzz_$target failed; reproducer: ${reproducer:-see the log above}" >&2
    echo "  rerun: $build/tests/fuzz/fuzz_$target ${reproducer:-INPUT}" >&2
    return 1
}

status=0
for entry in "${targets[@]}"; do
    target=${entry%%:*} max_len=${entry##*:}
    mapfile -t inputs < <(find "tests/fuzz/regressions/$target" "tests/fuzz/corpus/$target" \
        -type f ! -name '*.md' 2>/dev/null | sort)
    if [ ${#inputs[@]} -gt 0 ]; then
        # Whole, however long: the seeds hold the long inputs that must still be read quickly.
        fuzz "$target" "${inputs[@]}" || { status=1; continue; }
    fi
    echo "fuzz_$target: ${#inputs[@]} kept inputs pass; fuzzing for ${seconds}s"
    cp -r "tests/fuzz/corpus/$target" "$work/corpus-$target"
    fuzz "$target" -max_len="$max_len" -max_total_time="$seconds" "$work/corpus-$target" || status=1
done
exit $status
