#!/usr/bin/env bash
# Installs exactly the Debian packages Brisca needs to build, test and benchmark.
# Run as root on Debian 12. Safe to run again: apt skips what is already there.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive

packages=(
  # toolchain
  g++ cmake ninja-build pkg-config ccache
  clang libclang-rt-14-dev            # libFuzzer and the sanitizer runtimes
  # JUCE and the system libraries Debian's JUCE expects us to link
  juce-modules-source
  libflac-dev libvorbis-dev libogg-dev zlib1g-dev libpng-dev libjpeg-dev
  libfreetype-dev libx11-dev libxext-dev libxrandr-dev libxinerama-dev libxcursor-dev
  libasound2-dev libcurl4-gnutls-dev
  libfontconfig-dev                   # the editor asks fontconfig for the system's CJK face
  # tests and benchmarks
  libgtest-dev libbenchmark-dev valgrind
  lilv-utils lv2-dev                  # lv2info reads the built bundle in the tests
  xvfb xauth fonts-noto-cjk           # editor tests under a virtual display, CJK glyphs
  fonts-dejavu-core                   # the faces the artwork program prints its captions with
  xdotool imagemagick                 # tools/screenshot-standalone.sh
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages present"
  exit 0
fi
apt-get update
apt-get -o DPkg::Lock::Timeout=900 install -y --no-install-recommends "${missing[@]}"
