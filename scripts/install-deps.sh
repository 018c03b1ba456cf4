#!/usr/bin/env bash
# Installs with apt-get whatever the build, the tests and the window need and this machine lacks.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  qt6-base-dev qt6-translations-l10n fonts-noto-cjk python3
  xvfb xdotool xclip strace exfatprogs exfat-fuse x11-utils openbox at-spi2-core python3-pyatspi dbus orca
  g++-mingw-w64-x86-64-posix wine64 googletest imagemagick bc
  dpkg-dev file lintian desktop-file-utils appstream unzip devscripts git qt6-qpa-plugins
  msitools gcab osslsigncode openssl node-spdx-license-ids node-spdx-exceptions
  libreoffice-calc python3-uno
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: missing ${missing[*]}; run as root to install them" >&2
    exit 1
  fi
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
