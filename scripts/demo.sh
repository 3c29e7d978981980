#!/usr/bin/env bash
# Installs what is missing, builds, and runs the demo: the bundled example script keeps copies of
# the bundled sample folders in step, once two-way (newer file wins) and once as a mirror with
# backups, and the demo shows the records and what changed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh
bash scripts/build.sh build

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r samples/left samples/right "$work"/
# A clone gives every file the same time; give the samples the stamps the demo is about.
touch -d '2024-03-01 09:00' "$work"/left/DOCS/* "$work"/right/DOCS/* "$work"/*/PHOTOS/*
touch -d '2024-03-04 17:30' "$work"/left/DOCS/budget.txt   # the newer budget is on the left
touch -d '2024-03-02 12:00' "$work"/left/PHOTOS/harbour.jpg  # the master's photo differs

show_trees() {
    (cd "$work" && find left right -type f -printf '%-34p %6s bytes  %TY-%Tm-%Td %TH:%TM\n' | sort)
}

echo "== Before"
show_trees
echo
echo "== brisko2-batch samples/demo.brk (L: and R: are copies of samples/left and samples/right)"
status=0
build/src/batch/brisko2-batch --drive "L=$work/left" --drive "R=$work/right" samples/demo.brk \
    || status=$?
echo
echo "== After (exit status $status)"
show_trees
exit $status
