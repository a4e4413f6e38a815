#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the benchmarks need.
# Quick and silent when everything is already there; needs root (or sudo) otherwise.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  clang libclang-rt-dev            # libFuzzer and the sanitizer runtimes
  libgtest-dev libgmock-dev googletest
  libbenchmark-dev
  libmuparser-dev                   # only the benchmark compares against it
  qt6-base-dev qt6-serialport-dev qt6-svg-dev
  fonts-liberation                  # metric-compatible stand-in for "Arial"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
# A fresh machine may have an empty or stale package index.
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
