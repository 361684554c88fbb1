#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks for building and testing.
# Safe to run again: it installs only missing packages. clang builds the
# libFuzzer sessions that the tests run.
set -euo pipefail
# ninja-build: the build tool of the presets; clang: the libFuzzer
# sessions; libjpeg-turbo-progs: djpeg, the independent
# decoder the preview-picture test reads the pictures with.
packages=(g++ clang cmake ninja-build picojson-dev libboost-dev libgtest-dev libgmock-dev libjpeg-dev libjpeg-turbo-progs)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
