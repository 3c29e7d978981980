#!/usr/bin/env bash
# Runs a console runner on a fixed corpus of scripts and trees, and writes what it printed, its exit
# status and the trees it left into OUT. Run it with two builds and compare the folders with
# `diff -r` to show that a change kept the runner's behaviour byte for byte.
#   scripts/batch-corpus.sh BRISKO2_BATCH OUT
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
batch=$(realpath "$1")
out=$(realpath -m "$2")
work=/tmp/brisko-corpus # a fixed place: paths appear in the records
rm -rf "$out" && mkdir -p "$out"

old=1600000000   # 2020-09-13
new=1700000000   # 2023-11-14
future=4102444800 # 2100-01-01

# file PATH TIME [CONTENT]
file() {
    mkdir -p "$(dirname "$work/$1")"
    printf "%s" "${3-content of $1}" > "$work/$1"
    touch -d "@$2" "$work/$1"
}

# case NAME SCRIPT-FILE [OPTIONS...]: runs the script against the trees of $work/left, $work/right
case_run() {
    local name=$1 script=$2
    shift 2
    (cd "$work" && "$batch" --drive "L=$work/left" --drive "R=$work/right" "$@" "$script") \
        > "$out/$name.out" 2> "$out/$name.err"
    echo "exit $?" >> "$out/$name.out"
    # Folders' own times change with every run; files' and links' times are the runner's doing.
    (cd "$work" && find left right \( -type d -printf '%p/\n' \) -o -printf '%p %y %s %T@ %l\n' |
        sort) > "$out/$name.tree"
    for f in $(cd "$work" && find left right -type f | sort); do
        printf '%s: ' "$f"
        md5sum < "$work/$f"
    done >> "$out/$name.tree"
}

fresh() {
    rm -rf "$work" && mkdir -p "$work/left" "$work/right"
}

script() { # script NAME LINES...
    local name=$1
    shift
    printf '%s\n' "$@" > "$work/$name"
}

roots=("LeftRoot=L:" "RightRoot=R:")

# The demo.
fresh && cp -r "$root/samples/left/." "$work/left" && cp -r "$root/samples/right/." "$work/right"
touch -d '2024-03-01 09:00' "$work"/left/DOCS/* "$work"/right/DOCS/* "$work"/*/PHOTOS/*
touch -d '2024-03-04 17:30' "$work"/left/DOCS/budget.txt
touch -d '2024-03-02 12:00' "$work"/left/PHOTOS/harbour.jpg
case_run demo "$root/samples/demo.brk"

# Every mode over the same trees, with backups, deletions and a missing folder.
for mode in Update LMaster RMaster 1LTR 2RTL; do
    for dry in "" --dry-run; do
        fresh
        file left/DATA/a.txt $new "new left"
        file right/DATA/a.txt $old "old right"
        file left/DATA/b.txt $old "old left b"
        file right/DATA/b.txt $new "new right b"
        file left/DATA/only-left.txt $old
        file right/DATA/only-right.txt $old
        file left/DATA/SUB/deep.txt $old
        file right/DATA/GONE/x.txt $old
        file right/DATA/a.BK1 $old "older backup"
        script s.brk "${roots[@]}" "FileSpec=*.TXT" "Backup=BK1,BK2" "LeftPath=\\DATA" \
            "RightPath=\\DATA" "MissingFolder=Auto" "MissingFile=Create" "UpdateMode=$mode" "Execute"
        case_run "mode-$mode${dry}" s.brk $dry
    done
done

# An include, a Reset and a second session in one script.
fresh
file left/A/one.txt $new && file left/B/two.txt $new
script inc.brk "LeftPath=\\B" "RightPath=\\B" "Execute"
script s.brk "${roots[@]}" "MissingFolder=Auto" "LeftPath=\\A" "RightPath=\\A" "Execute" \
    "Include=inc.brk" "Reset" "Execute"
case_run include s.brk

# A script with errors, checked only.
fresh
script s.brk "UpdateMode=Sideways" "LeftRoot=L:" "no sign here" "Execute"
case_run check s.brk --check

# The questions, each answered by its default.
fresh
file left/Q/ask.txt $new
file left/Q/same.txt $new "four" && file right/Q/same.txt $new "three"
file left/Q/zero.txt $new "" && file right/Q/zero.txt $old "not empty"
file left/LATER/future.txt $future
mkdir -p "$work/left/EMPTY" && file right/EMPTY/keep.txt $old
script s.brk "${roots[@]}" "LeftPath=\\Q" "RightPath=\\Q" "MissingFile=Ask" "Execute" \
    "LeftPath=\\EMPTY" "RightPath=\\EMPTY" "UpdateMode=LMaster" "Execute" \
    "LeftPath=\\NOWHERE" "RightPath=\\NOWHERE" "Execute" \
    "LeftRoot=Q:,50" "LeftPath=\\Q" "Execute" \
    "LeftRoot=L:,60" "LeftPath=\\LATER" "RightPath=\\LATER" "MissingFolder=Auto" "Execute"
case_run questions s.brk

# A copy that fails: the target drive is too small (root only: it mounts a small tmpfs).
if [ "$(id -u)" -eq 0 ]; then
    fresh
    head -c 200000 /dev/zero > "$work/left/big.bin" && touch -d "@$new" "$work/left/big.bin"
    file left/small.txt $new
    mount -t tmpfs -o size=64k tmpfs "$work/right"
    script s.brk "${roots[@]}" "LeftPath=\\" "RightPath=\\" "UpdateMode=1LTR" "MissingFile=Create" \
        "Execute"
    case_run full-disk s.brk
    umount "$work/right"
fi
rm -rf "$work"
echo "corpus written to $out"
