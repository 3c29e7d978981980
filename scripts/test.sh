#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: first the core and console runner under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the whole program (core, console runner
# and window). As root it also makes the Debian package of that build, installs it, tries the
# installed programs and removes it again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen

bash scripts/build.sh build-sanitize -DBRISKO_BUILD_GUI=OFF -DBRISKO_SANITIZE=ON -DBRISKO_WERROR=ON \
    -DCMAKE_BUILD_TYPE=Debug
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-sanitize --output-on-failure -j "$(nproc)"

# Arbitrary scripts, values, masks, locations and server replies: the kept inputs, then a short
# bout of fuzzing per target.
bash scripts/fuzz.sh 20

# The copies' flushes run on threads: the copy tests once more under ThreadSanitizer.
cmake -S . -B build-tsan -G Ninja -DBRISKO_BUILD_GUI=OFF -DBRISKO_SANITIZE_THREAD=ON \
    -DBRISKO_WERROR=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-tsan -j "$(nproc)" --target copy_tests
# (Over SFTP they run in the two other builds, whose test folders start the loopback server.)
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan/tests/copy --output-on-failure -j "$(nproc)" \
    -LE sftp

bash scripts/build.sh build -DBRISKO_WERROR=ON
if [ "$(id -u)" -eq 0 ]; then
    bash scripts/check-package.sh build
else
    echo "Skipped the package check: installing the package needs root."
fi
ctest --test-dir build --output-on-failure -j "$(nproc)"

# The core and console runner once more as Windows programs, under Wine.
bash scripts/test-windows.sh
