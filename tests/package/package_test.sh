#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package the Debian way (make package), checks it with
# lintian, appstreamcli and desktop-file-validate, unpacks it into a scratch
# root and checks its files and its Depends, runs both programs' --version
# from there and starts the packaged window on the offscreen platform.
set -euo pipefail

source_dir=$1
cd "$source_dir"
# At a low priority: the other tests run beside this build, some of them timed.
# The debug symbols' package is not made: nothing here looks into it.
DEB_BUILD_OPTIONS=noddebs nice -n 15 bash scripts/build_package.sh > build/package.log 2>&1 || { tail -30 build/package.log; exit 1; }
deb=$(ls build/benchtabler_*.deb)

lintian --fail-on error,warning "$deb" 2> /dev/null

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
for file in usr/bin/benchtabler usr/bin/benchtabler-batch \
            usr/share/man/man1/benchtabler.1.gz usr/share/man/man1/benchtabler-batch.1.gz \
            usr/share/applications/benchtabler.desktop \
            usr/share/icons/hicolor/scalable/apps/benchtabler.svg \
            usr/share/metainfo/io.github.benchtabler.BenchTabler.metainfo.xml \
            usr/share/mime/packages/benchtabler.xml \
            usr/share/icons/hicolor/scalable/mimetypes/application-x-benchtabler-session.svg \
            usr/share/doc/benchtabler/copyright usr/share/doc/benchtabler/changelog.gz; do
    [ -f "$root/$file" ] || { echo "the package lacks $file"; exit 1; }
done
# Recording and printing: the module the program loads when they are first used.
module=$(echo "$root"/usr/lib/*/benchtabler/benchtabler-devices.so)
[ -f "$module" ] || { echo "the package lacks the devices module"; exit 1; }
nm -D --defined-only "$module" | grep -q ' benchtablerDevices$' || { echo "$module has no entry point"; exit 1; }
! ldd "$module" | grep -q 'not found' || { echo "$module needs libraries that are not installed"; exit 1; }
appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.benchtabler.BenchTabler.metainfo.xml" > /dev/null
desktop-file-validate "$root/usr/share/applications/benchtabler.desktop"
grep -q '^MimeType=application/x-benchtabler-session;' "$root/usr/share/applications/benchtabler.desktop" ||
    { echo "the desktop entry does not open sessions"; exit 1; }
# The session type as shared-mime-info reads it: by the file's name and by its first bytes.
update-mime-database "$root/usr/share/mime"
grep -q ':application/x-benchtabler-session:\*\.btsession' "$root/usr/share/mime/globs2" ||
    { echo "the session type has no *.btsession"; exit 1; }
grep -aq 'Bench Tabler session ' "$root/usr/share/mime/magic" ||
    { echo "the session type has no magic"; exit 1; }

depends=$(dpkg-deb -f "$deb" Depends)
for runtime in libqt6widgets6 libqt6svg6 libqt6serialport6 libqt6multimedia6 libqt6network6 libqt6printsupport6 qt6-qpa-plugins \
               fonts-dejavu-core libgsl27 \
               libmuparser2v5 libxlsxwriter4 libfftw3-double3 libsndfile1; do
    grep -q "$runtime" <<< "$depends" || { echo "the package does not depend on $runtime"; exit 1; }
done

version=$(dpkg-parsechangelog -S Version)
[ "$(env -u DISPLAY "$root/usr/bin/benchtabler" --version)" = "benchtabler $version" ]
[ "$("$root/usr/bin/benchtabler-batch" --version)" = "benchtabler-batch $version" ]

HOME=$root QT_QPA_PLATFORM=offscreen "$root/usr/bin/benchtabler" &
program=$!
sleep 2
kill -0 "$program" 2> /dev/null || { echo "the packaged program did not keep running"; exit 1; }
kill "$program"
wait "$program" || true
[ -d "$root/labfiles" ] || { echo "the packaged program did not start up (no labfiles)"; exit 1; }

# The packaged batch writes a lab report without a display.
printf 'x,y\n1,2\n2,4.1\n3,5.9\n' | env -u DISPLAY "$root/usr/bin/benchtabler-batch" report \
    --pdf "$root/report.pdf" --model line
pdfinfo "$root/report.pdf" | grep -q '^Pages: *1$' || { echo "the packaged batch wrote no report"; exit 1; }
# And a workbook for a spreadsheet.
printf 'x,y\n1,2\n2,4.1\n' | "$root/usr/bin/benchtabler-batch" export --xlsx "$root/lab.xlsx"
unzip -l "$root/lab.xlsx" | grep -q 'xl/worksheets/sheet1.xml' || { echo "the packaged batch wrote no workbook"; exit 1; }
echo "package $deb: lintian, appstream and desktop entry clean; files, Depends and versions right; it starts and writes a report and a workbook"
