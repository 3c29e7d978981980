#!/usr/bin/env bash
# Installs what is missing, builds, and runs the demo: the bundled sample script checked by
# the console runner against the bundled sample folders.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh
bash scripts/build.sh build

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r samples/left samples/right "$work"/

echo "== brisko2-batch --check samples/demo.brk (L: and R: mapped to copies of samples/left and samples/right)"
status=0
build/src/batch/brisko2-batch --drive "L=$work/left" --drive "R=$work/right" --check samples/demo.brk || status=$?
echo "== exit status $status"
exit $status
