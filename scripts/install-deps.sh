#!/usr/bin/env bash
# Installs what the builds and tests need on Debian 12, as root. Idempotent:
# only what is missing is installed, so a rerun on a ready machine takes a
# moment and touches no network.
set -euo pipefail

packages=(
    cmake ninja-build ccache g++ clang libclang-rt-14-dev clang-format file
    googletest libgtest-dev libbenchmark-dev libpugixml-dev
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
    binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
    wine wine64 wine32:i386 xvfb xauth
    # The desktop of the GUI tests: window manager, X tools and screenshots,
    # generated locales (Wine reads LC_ALL only for those), CJK fonts, the
    # resource reader's Python, and the medium's ISO image.
    openbox x11-utils x11-apps imagemagick locales-all fonts-wqy-microhei python3 genisoimage
)

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

missing=()
for package in "${packages[@]}"; do
    installed "$package" || missing+=("$package")
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: everything is present"
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: missing ${missing[*]}; run as root to install them" >&2
    exit 1
fi

echo "install-deps: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
echo "install-deps: done"
