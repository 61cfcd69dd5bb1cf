#!/usr/bin/env bash
# Installs the game's Debian package in a clean Debian 12 system and starts it far enough to show
# its window: the package's dependencies, its file layout and the launcher on PATH are checked
# as a user would meet them. Needs root, debootstrap and network access to a Debian mirror.
# Usage: tools/test-deb.sh [package.deb]      (default: builds the release preset's package)
# The clean system is made once and kept in $VOSTREL_DEB_CACHE (default /tmp/vostrel-debian12);
# each run installs into a fresh copy of it, which is removed afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."

cache=${VOSTREL_DEB_CACHE:-/tmp/vostrel-debian12}
started=$SECONDS

if [ $# -ge 1 ]; then
    deb=$(realpath "$1")
else
    cmake --preset release >/dev/null
    cmake --build --preset release
    (cd build/release && cpack -G DEB >/dev/null)
    deb=$(ls build/release/vostrel_*.deb)
fi

# The mirror this machine's apt uses, unless one is named.
mirror=${VOSTREL_DEBIAN_MIRROR:-$({ cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
    /etc/apt/sources.list.d/*.sources 2>/dev/null || true; } | grep -v '^[[:space:]]*#' |
    grep -oE 'https?://[^[:space:]]+/debian/?([[:space:]]|$)' | head -n 1 | tr -d '[:space:]')}
mirror=${mirror:-http://deb.debian.org/debian}

if [ ! -d "$cache/base" ]; then
    echo "Making a clean Debian 12 system from $mirror (once)"
    mkdir -p "$cache"
    rm -rf "$cache/base.tmp"
    debootstrap --variant=minbase bookworm "$cache/base.tmp" "$mirror" >"$cache/debootstrap.log"
    mv "$cache/base.tmp" "$cache/base"
fi
mkdir -p "$cache/archives"

root=$(mktemp -d /tmp/vostrel-deb-test.XXXXXX)
cleanup() {
    mountpoint -q "$root/proc" && umount "$root/proc"
    rm -rf "$root"
}
trap cleanup EXIT

cp -a "$cache/base/." "$root/"
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/tmp/vostrel.deb"
cp "$cache/archives/"*.deb "$root/var/cache/apt/archives/" 2>/dev/null || true
mount -t proc proc "$root/proc"  # the game finds its folder through /proc/self/exe

in_root() {
    chroot "$root" env -i PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games \
        HOME=/root LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"
}

echo "Installing $(basename "$deb") with its dependencies"
in_root apt-get update -qq
# No recommended packages: what the package depends on must be enough to play.
in_root apt-get install -y -qq --no-install-recommends /tmp/vostrel.deb xvfb xauth x11-utils \
    >"$cache/install.log" 2>&1 || { cat "$cache/install.log"; exit 1; }
cp "$root/var/cache/apt/archives/"*.deb "$cache/archives/"

for file in /usr/share/applications/org.vostrel.Vostrel.desktop \
    /usr/share/metainfo/org.vostrel.Vostrel.metainfo.xml \
    /usr/share/icons/hicolor/256x256/apps/org.vostrel.Vostrel.png /usr/lib/vostrel/h_dat.txt; do
    [ -f "$root$file" ] || { echo "FAIL: $file is not installed"; exit 1; }
done

# Started by its name on PATH from an unrelated folder, the game must still find its data: a
# missing word file would show a small message box instead of the 532-pixel-wide game window.
echo "Starting the installed game"
windows=$(in_root sh -c 'cd /tmp && xvfb-run -a sh -c "
    vostrel & game=\$!
    sleep 3
    kill -0 \$game && xwininfo -root -tree
    kill \$game"' 2>/dev/null) || true
if ! grep -qE '"Vostrel": \("vostrel" "Vostrel"\) +532x' <<<"$windows"; then
    echo "FAIL: the game window did not appear"
    echo "$windows"
    exit 1
fi
echo "PASS: $(basename "$deb") installs on Debian 12 and shows its window ($((SECONDS - started)) s)"
