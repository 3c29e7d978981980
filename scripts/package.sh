#!/usr/bin/env bash
# Makes the Debian package and prints its path: package.sh [BUILD_DIR]
# Without a folder it makes a Release build of the programs in build-package; given an existing
# build folder (such as the tests' build), it packages that build as it is configured.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh >&2
if [ $# -eq 0 ]; then
    dir=build-package
    bash scripts/build.sh "$dir" -DCMAKE_BUILD_TYPE=Release -DBRISKO_BUILD_GUI=ON \
        -DBRISKO_BUILD_TESTS=OFF >&2
else
    dir=$1
    targets=(brisko2-batch)
    grep -q '^BRISKO_BUILD_GUI:BOOL=ON$' "$dir/CMakeCache.txt" && targets+=(brisko2)
    cmake --build "$dir" -j "$(nproc)" --target "${targets[@]}" >&2
fi

rm -f "$dir"/brisko2_*.deb
(cd "$dir" && cpack -G DEB >&2)
ls "$(cd "$dir" && pwd)"/brisko2_*.deb
