#!/usr/bin/env bash
# check_deb.sh BUILD_DIR WORK_DIR VERSION CPACK XVFB_RUN
# Makes the Debian package from the build tree into WORK_DIR and checks it:
# exactly the expected files with their modes, the libraries' packages among
# its dependencies; then unpacks it into a scratch root, refreshes the MIME
# and menu caches there as the desktop's packages do on install, and checks
# the desktop side of it on a virtual X server.
set -euo pipefail

build=$1 work=$2 version=$3 cpack=$4 xvfb_run=$5
here=$(cd "$(dirname "$0")" && pwd)
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
for tool in dpkg-deb dpkg-shlibdeps file update-mime-database update-desktop-database appstreamcli; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
done
# The theme's index tells the icon folders' sizes, also to the scratch root.
[ -f /usr/share/icons/hicolor/index.theme ] || fail "hicolor-icon-theme is not installed"

rm -rf "$work"
mkdir -p "$work"
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$work/cpack.log")"
deb=$work/palisade-brindle_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "cpack made no $deb: $(ls "$work")"

echo "== contents"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $1, $2, $6 }' | sort >"$work/contents"
{
    echo "-rwxr-xr-x root/root ./usr/bin/palisade-brindle"
    echo "-rwxr-xr-x root/root ./usr/bin/palisade-cli"
    for size in 16 22 24 32 48 64 128 256 512; do
        echo "-rw-r--r-- root/root ./usr/share/icons/hicolor/${size}x${size}/apps/palisade-brindle.png"
    done
    echo "-rw-r--r-- root/root ./usr/share/icons/hicolor/scalable/apps/palisade-brindle.svg"
    echo "-rw-r--r-- root/root ./usr/share/applications/palisade-brindle.desktop"
    echo "-rw-r--r-- root/root ./usr/share/metainfo/io.github.palisade_brindle.PalisadeBrindle.metainfo.xml"
    echo "-rw-r--r-- root/root ./usr/share/mime/packages/palisade-brindle.xml"
    echo "-rw-r--r-- root/root ./usr/share/man/man6/palisade-brindle.6.gz"
    echo "-rw-r--r-- root/root ./usr/share/man/man6/palisade-cli.6.gz"
} | sort >"$work/expected"
diff -u "$work/expected" "$work/contents" || fail "the package holds other files than expected"

echo "== dependencies"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
names=$(tr ',' '\n' <<<"$depends" | awk '{ print $1 }')
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libqt6printsupport6 \
    hicolor-icon-theme; do
    grep -Fqx "$package" <<<"$names" || fail "the package does not depend on $package"
done
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "the package is not in the games section"

echo "== unpacked into a scratch root"
root=$work/root
dpkg-deb -x "$deb" "$root"
# The metadata with the menu entry and the icon it names, as a software centre reads them.
appstreamcli validate-tree --no-net "$root"
update-mime-database "$root/usr/share/mime"
update-desktop-database "$root/usr/share/applications" >/dev/null
"$xvfb_run" -a -s "-screen 0 1280x1024x24" "$here/check_desktop.sh" "$root/usr"
