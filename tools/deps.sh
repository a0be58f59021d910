#!/usr/bin/env bash
# Installs what Quillary needs to build, run and test on Debian 12 (bookworm).
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-svg-dev libqt6svg6 qt6-charts-dev libgl-dev
  libsqlite3-dev libsqlitecpp-dev
  sqlite3
  libgtest-dev
  desktop-file-utils appstream
  clang libclang-rt-14-dev
)
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y "${packages[@]}"
