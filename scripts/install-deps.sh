#!/bin/sh
# Installs the Debian packages zynparam needs, and only those missing.
#   scripts/install-deps.sh          to build the library and the zynparam tool
#   scripts/install-deps.sh --all    also the tests, benchmarks, fuzzing and packaging
#   --dry-run                        only print what would be installed
# Prints what it installs; does nothing when everything is there.
set -eu

tool_packages="cmake ninja-build g++ libcli11-dev nlohmann-json3-dev"
all_packages="$tool_packages libgtest-dev libgmock-dev pkg-config libbenchmark-dev libmuparser-dev
  rapidjson-dev help2man clang libclang-rt-14-dev dpkg-dev file gcovr"

packages=$tool_packages
dry_run=0
for arg in "$@"; do
  case $arg in
    --all) packages=$all_packages ;;
    --dry-run) dry_run=1 ;;
    *) echo "usage: $0 [--all] [--dry-run]" >&2; exit 2 ;;
  esac
done

missing=""
for pkg in $packages; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  case $status in
    *" installed") ;;
    *) missing="$missing $pkg" ;;
  esac
done
[ -z "$missing" ] && exit 0

echo "install-deps: installing$missing"
[ "$dry_run" = 1 ] && exit 0
if [ "$(id -u)" -eq 0 ]; then
  sudo=""
elif command -v sudo >/dev/null 2>&1; then
  sudo="sudo"
else
  echo "install-deps: not root and no sudo: install$missing by hand" >&2
  exit 1
fi
$sudo apt-get update -qq
# shellcheck disable=SC2086  # the package list splits on purpose
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
