#!/usr/bin/env bash
# Makes the Debian package in a build folder (default: build) and checks it:
#   - its control fields and the files it must hold (dpkg-deb);
#   - lintian finds no error or warning;
#   - the software-centre metadata it ships validates (appstreamcli, without the network);
#   - apt can install it with its dependencies (apt-get --simulate);
#   - as root, where overlay mounts work: it installs with dpkg into a throw-away copy of this
#     machine's root and both programs start there.
# Prints the package's path at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
fail() {
    echo "check_package: $*" >&2
    exit 1
}

rm -f "$build"/pigmentaria_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/pigmentaria_*.deb)
echo "== $deb"

info=$(dpkg-deb -f "$deb")
for field in Package Version Architecture Maintainer Section Priority Depends Description; do
    grep -q "^$field: ." <<<"$info" || fail "the control file has no $field"
done
grep -q '^Depends:.*libqt6widgets6' <<<"$info" || fail "Depends lacks the Qt libraries: $info"
grep -q '^Depends:.*libpng16' <<<"$info" || fail "Depends lacks libpng: $info"
files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in usr/bin/pigmentaria usr/bin/pigmentaria-cli \
    usr/share/man/man1/pigmentaria.1.gz usr/share/man/man1/pigmentaria-cli.1.gz \
    usr/share/bash-completion/completions/pigmentaria-cli \
    usr/share/metainfo/io.github.pigmentaria.Pigmentaria.metainfo.xml \
    usr/share/applications/pigmentaria.desktop usr/share/mime/packages/pigmentaria.xml \
    usr/share/icons/hicolor/scalable/apps/pigmentaria.svg \
    usr/share/doc/pigmentaria/copyright usr/share/doc/pigmentaria/changelog.Debian.gz \
    usr/share/pigmentaria/splash.png usr/share/pigmentaria/help/index.html; do
    grep -qx "\./$f" <<<"$files" || fail "the package lacks /$f"
done

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/*.metainfo.xml
for program in "$unpacked"/usr/bin/*; do
    ! readelf -S "$program" | grep -q '\.symtab\|\.debug_' || fail "$program is not stripped"
done

# lintian warns that it runs as root; that is no finding about the package.
status=0
findings=$(lintian --fail-on error,warning "$deb" 2>&1) || status=$?
grep -v 'running with root privileges' <<<"$findings" || true
[ "$status" -eq 0 ] || fail "lintian reports errors or warnings"

apt-get install --simulate --no-install-recommends "$deb" >"$unpacked/apt.log" 2>&1 ||
    { cat "$unpacked/apt.log" >&2; fail "apt cannot install the package"; }
grep -q '^Inst pigmentaria ' "$unpacked/apt.log" || fail "apt would not install it: $(cat "$unpacked/apt.log")"

if [ "$(id -u)" -eq 0 ] && command -v unshare >/dev/null; then
    # A private mount namespace: the overlay and what dpkg writes into it go when it ends.
    unshare -m bash -s "$deb" "$unpacked" <<'INSTALL' || fail "the package does not install or start"
set -euo pipefail
deb=$1 dir=$2/root
mkdir -p "$dir"/upper "$dir"/work "$dir"/merged
if ! mount -t overlay overlay -o lowerdir=/,upperdir="$dir"/upper,workdir="$dir"/work "$dir"/merged 2>/dev/null; then
    echo "(no overlay mounts here: the installation in a throw-away root is left out)"
    exit 0
fi
mount -t proc proc "$dir"/merged/proc
cp "$deb" "$dir"/merged/tmp/pigmentaria.deb
chroot "$dir"/merged sh -ec '
    dpkg -i /tmp/pigmentaria.deb >/dev/null
    pigmentaria-cli --help >/dev/null
    test -f /usr/share/man/man1/pigmentaria-cli.1.gz
    mkdir -p /tmp/home
    # The desktop program is up when it is still running after 5 s.
    status=0
    HOME=/tmp/home QT_QPA_PLATFORM=offscreen timeout 5 pigmentaria >/dev/null 2>&1 || status=$?
    [ "$status" -eq 124 ] || { echo "pigmentaria ended with $status at start" >&2; exit 1; }
    dpkg -r pigmentaria >/dev/null
'
echo "installed with dpkg in a throw-away root, started both programs, removed it"
umount "$dir"/merged/proc "$dir"/merged
INSTALL
fi
echo "package check passed: $deb"
