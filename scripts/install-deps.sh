#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, when any is missing; further
# package names given as arguments are installed with them. The SFTP tests start a throwaway
# OpenSSH server on loopback; the network benchmark compares with rsync over ssh; the fuzzers
# need clang and its libFuzzer.
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config libgtest-dev qt6-base-dev libgl-dev
          dpkg-dev file desktop-file-utils shared-mime-info xdg-utils libfile-mimeinfo-perl
          g++-mingw-w64-x86-64-posix wine wine64
          openssh-server openssh-client openssh-sftp-server rsync clang libclang-rt-14-dev "$@")

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Run as root or install sudo to install: ${missing[*]}" >&2; exit 1; }
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update
"${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
