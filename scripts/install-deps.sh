#!/usr/bin/env bash
# Installs every Debian package needed to build, run and test MelvarinStudio.
# Quick when everything is present: dpkg is asked first, apt-get runs only for what is missing.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build ccache pkg-config clang-format git
  # Qt 6
  qt6-base-dev qt6-base-dev-tools qt6-scxml-dev qt6-tools-dev qt6-tools-dev-tools qt6-svg-dev
  qt6-l10n-tools qt6-qpa-plugins libgl-dev libfontconfig-dev libxcb1-dev
  # MIDI, audio, files
  librtmidi-dev jackd2 libjack-jackd2-dev libasound2-dev
  libfluidsynth-dev fluid-soundfont-gm timgm6mb-soundfont libsndfile1-dev libsmf-dev
  # notation engine: parser, and the inflating of pictures' data to check them
  flex bison zlib1g-dev
  # fonts
  fonts-liberation fonts-dejavu-core fonts-dejavu-extra python3-fonttools lilypond-fonts
  # display for run.sh without a screen
  xvfb xauth
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # asset generators
  sox
  # fuzzing (the fuzz preset)
  clang-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
  echo "install-deps: these packages are missing: ${missing[*]}" >&2
  echo "install-deps: run this script as root (or install them with sudo apt-get install)." >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# jackd2 asks about realtime priority; answer it before the install.
echo "jackd2 jackd/tweak_rt_limits boolean false" | debconf-set-selections
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
