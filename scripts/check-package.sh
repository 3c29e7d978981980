#!/usr/bin/env bash
# Makes the Debian package from a build folder, installs it, tries the installed programs and
# removes the package again: check-package.sh [BUILD_DIR] (build by default). Needs root.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

deb=$(bash scripts/package.sh "${1:-build}")
export DEBIAN_FRONTEND=noninteractive
work=$(mktemp -d)
remove_package() {
    rm -rf "$work"
    apt-get remove -y brisko2 >/dev/null
}
trap remove_package EXIT

echo "== apt-get install -y $deb"
apt-get install -y "$deb" >/dev/null

echo "== /usr/bin/brisko2-batch --help"
/usr/bin/brisko2-batch --help

echo "== the demo script, run by the installed brisko2-batch on copies of the samples"
cp -r samples/left samples/right "$work"/
/usr/bin/brisko2-batch --drive "L=$work/left" --drive "R=$work/right" samples/demo.brk
cmp "$work/left/DOCS/minutes.txt" "$work/right/DOCS/minutes.txt"

echo "== the desktop entry and the script file type"
desktop-file-validate /usr/share/applications/brisko2.desktop
test -f /usr/share/mime/application/x-brisko-script.xml

echo "== apt-get remove -y brisko2"
trap - EXIT
remove_package
echo "Package check passed: $(basename "$deb")"
