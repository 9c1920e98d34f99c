#!/usr/bin/env bash
# Builds the Debian package, checks that it holds the program, its desktop
# entry and icon and depends on the Qt 6 runtime, and starts the packaged
# program on the offscreen platform.
set -euo pipefail

build_dir=$1
cd "$build_dir"
rm -f benchtabler_*.deb
cpack -G DEB > /dev/null
deb=$(ls benchtabler_*.deb)

contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/benchtabler \
            ./usr/share/applications/benchtabler.desktop \
            ./usr/share/icons/hicolor/scalable/apps/benchtabler.svg; do
    if ! grep -q " $file\$" <<< "$contents"; then
        echo "the package lacks $file"
        exit 1
    fi
done
if ! dpkg-deb -f "$deb" Depends | grep -q "libqt6widgets6"; then
    echo "the package does not depend on the Qt 6 runtime"
    exit 1
fi

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
HOME=$root QT_QPA_PLATFORM=offscreen "$root/usr/bin/benchtabler" &
program=$!
sleep 2
if ! kill -0 "$program" 2> /dev/null; then
    echo "the packaged program did not keep running"
    exit 1
fi
kill "$program"
wait "$program" || true
if [ ! -d "$root/labfiles" ]; then
    echo "the packaged program did not start up (no labfiles directory)"
    exit 1
fi
echo "package $deb: program, desktop entry and icon present; it starts"
