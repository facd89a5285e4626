#!/usr/bin/env bash
# Installs the Debian packages vorn needs to build and run; with --tests also those its
# test suites and benchmarks need. Idempotent: refreshes the package lists and installs
# only when something is missing, and prints nothing when all is there.
set -euo pipefail

# Building and running the program.
build_packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-tools-dev qt6-l10n-tools
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  gstreamer1.0-plugins-bad gstreamer1.0-libav
  libxcb1-dev fonts-ipafont-gothic
)

# The tests and benchmarks: test frameworks, the GStreamer tools they run, a virtual
# desktop (X server, window manager, panel with a tray) and its probes, and the install
# checks' validators, packager and package checker.
test_packages=(
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  gstreamer1.0-tools gstreamer1.0-plugins-base-apps
  xvfb x11-utils imagemagick xdotool openbox tint2
  desktop-file-utils appstream man-db groff-base dpkg-dev lintian
  dbus playerctl pulseaudio pulseaudio-utils
)

packages=("${build_packages[@]}")
for argument in "$@"; do
  case "$argument" in
    --tests) packages+=("${test_packages[@]}") ;;
    *) echo "usage: $0 [--tests]" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "setup: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq >/dev/null
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
