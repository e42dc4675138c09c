#!/usr/bin/env bash
# Installs what the build and the tests need from Debian's archive; does nothing when all of it
# is there already.
set -euo pipefail

packages=(
  g++ cmake ninja-build
  libgtest-dev libgmock-dev libbenchmark-dev
  libocct-data-exchange-dev libtbb-dev
  admesh assimp-utils libassimp-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
