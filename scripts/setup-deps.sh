#!/usr/bin/env bash
# Installs what the two builds and the tests need on Debian 12; safe to run again.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

packages=(cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
          clang-format python3 nlohmann-json3-dev libcli11-dev time help2man dpkg-dev pkg-config libhivex-dev libwin-hivex-perl mtools dosfstools xorriso libarchive-tools
          libssl-dev openssl osslsigncode libcreg-dev libcreg-utils libbfio-dev libtsk-dev libqcow-dev
          qemu-utils ntfs-3g fdisk
          g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
          wine wine32:i386 wine64 xvfb xauth locales x11-utils)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Double-byte ANSI code pages under Wine need the glibc locales generated.
for loc in zh_TW ja_JP; do
  if ! locale -a 2>/dev/null | grep -qix "${loc}.utf8"; then
    $SUDO localedef -i "$loc" -f UTF-8 "${loc}.UTF-8"
  fi
done
