#!/usr/bin/env bash
# Installs the Debian packages the tool needs to build, run and test.
# Root installs directly; a normal user goes through sudo.
set -euo pipefail
PKGS=(build-essential cmake qt6-base-dev qt6-serialport-dev libqt6opengl6-dev
      libqcustomplot-dev libqcustomplot2.1-qt6 libglu1-mesa-dev libgl1-mesa-dri
      qt6-svg-dev poppler-utils
      xvfb xauth fonts-liberation fonts-dejavu-core
      dpkg-dev file desktop-file-utils appstream clang-14 libclang-rt-14-dev)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then exit 0; fi
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
