#!/usr/bin/env bash
# Installs everything the build, the tests and `make run` need on a Debian 12 machine.
# Idempotent: each step checks before it acts, so a set-up machine passes through in about a second.
set -euo pipefail

packages=(
  cmake make ninja-build g++ clang
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine64 xvfb xdotool xclip imagemagick x11-utils
  locales fonts-wqy-zenhei fonts-arphic-uming fonts-arphic-ukai fonts-wine
  googletest nasm dpkg-dev python3 python3-pil python3-numpy
)

need_root() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: run as root (or with sudo) to install: $*" >&2
    exit 1
  fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

# libjpeg is cross-built from Debian's own source package, which needs a deb-src entry.
src_list=/etc/apt/sources.list.d/tarvokdiy-src.sources
if [ ! -f "$src_list" ]; then
  need_root "a deb-src entry"
  cat >"$src_list" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  apt_updated=
else
  apt_updated=yes
fi

if [ ${#missing[@]} -gt 0 ] || [ -z "$apt_updated" ]; then
  need_root "${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  if [ ${#missing[@]} -gt 0 ]; then
    apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
fi

# Wine needs the zh_CN.UTF-8 locale to run with ANSI code page 936.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$'; then
  need_root "the zh_CN.UTF-8 locale"
  sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen
fi
echo "setup: packages and locale ready"
