#!/usr/bin/env bash
# Installs the Debian packages Varkel needs to build, run and test, when any is
# missing, then configures and builds the project in ./build. With
# --packages-only it stops after the packages.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 libgl-dev
  libqscintilla2-qt6-dev
  libgtest-dev googletest
  libx11-dev libxtst-dev
  xvfb xauth
  # the installed tree's checks and the Debian package (cpack -G DEB)
  desktop-file-utils appstream libxml2-utils dpkg-dev file
  # the fuzzers (scripts/fuzz.sh): clang with libFuzzer and its sanitizer
  # runtimes, and the LLVM tools for their coverage figures
  clang libclang-rt-14-dev llvm
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi

[ "${1:-}" = --packages-only ] && exit 0

build_type=${VARKEL_BUILD_TYPE:-RelWithDebInfo}
cmake -S . -B build -DCMAKE_BUILD_TYPE="$build_type" >/dev/null
cmake --build build -j"$(nproc)"
