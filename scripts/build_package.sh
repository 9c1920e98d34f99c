#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package with dpkg-buildpackage from a copy of the source
# tree in build/package/ (dpkg-buildpackage writes next to the tree it builds),
# and leaves the .deb in build/.
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(dpkg-parsechangelog -S Version)
work=build/package
tree="$work/benchtabler-$version"
rm -rf "$work"
mkdir -p "$tree"
if git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
    # The files of the project, the ones not yet committed included.
    git ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' file; do
            [ -e "$file" ] && printf '%s\0' "$file"
        done | xargs -0 cp --parents -t "$tree"
else
    tar --exclude='./build*' --exclude=./.git -cf - . | tar -xf - -C "$tree"
fi

(cd "$tree" && DEB_BUILD_OPTIONS="parallel=$(nproc) ${DEB_BUILD_OPTIONS:-}" dpkg-buildpackage -b -us -uc)
rm -f build/benchtabler_*.deb
cp "$work"/benchtabler_*.deb build/
echo "package: $(ls build/benchtabler_*.deb)"
