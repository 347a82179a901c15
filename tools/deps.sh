#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need.
# apt-get runs only when something is missing, and updates its lists only then.
set -euo pipefail
packages=(
    cmake g++ ninja-build pkg-config make
    qt6-base-dev qt6-image-formats-plugins libx11-dev
    libjpeg62-turbo-dev libtiff-dev libvips-dev zlib1g-dev
    fonts-noto-cjk fonts-liberation2 fonts-dejavu-core
    libgtest-dev libheif-examples
    clang libclang-rt-14-dev
    imagemagick libvips-tools libimage-exiftool-perl exiv2 jhead
    xvfb xdotool
    ccache qt6-translations-l10n desktop-file-utils dpkg-dev
    scdoc librsvg2-bin man-db lintian appstream
)
missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
