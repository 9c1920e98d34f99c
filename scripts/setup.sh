#!/usr/bin/env bash
# Installs what building, running and testing Bench Tabler needs on Debian 12:
# the compilers and Qt (Multimedia for sound inputs; PulseAudio, which the
# tests start as a sound server of their own), GSL, muParser, FFTW,
# libsndfile and libxlsxwriter (minizip and unzip read the workbooks back in
# the tests), GoogleTest and Google Benchmark,
# clang's libFuzzer and sanitizer runtime,
# an X server, xdotool and xclip for the end-to-end test, poppler's tools that read
# the lab report's PDF back, the Debian packaging and
# its checkers (debhelper, lintian, appstream, desktop-file-utils), and the
# German locale whose decimal comma the tests run under.
set -euo pipefail

packages=(
    g++ make cmake pkg-config
    libgsl-dev libmuparser-dev nlohmann-json3-dev libxlsxwriter-dev libminizip-dev unzip
    libfftw3-dev libsndfile1-dev
    qt6-base-dev qt6-svg-dev qt6-serialport-dev qt6-multimedia-dev qt6-qpa-plugins libgl-dev
    fonts-dejavu-core pulseaudio
    libgtest-dev libbenchmark-dev
    locales
    clang libclang-rt-14-dev
    xvfb xdotool xclip imagemagick x11-utils python3 poppler-utils
    dpkg-dev debhelper devscripts lintian appstream desktop-file-utils shared-mime-info
)

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    "${as_root[@]}" apt-get update
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
fi

if ! locale -a | grep -qi '^de_DE\.utf-\?8$'; then
    echo "Generating the de_DE.UTF-8 locale"
    "${as_root[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
