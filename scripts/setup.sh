#!/usr/bin/env bash
# Installs what building and testing need, once: the cross compiler, clang with its
# sanitizer and libFuzzer runtimes, Wine, Xvfb,
# xdotool, Chinese fonts, ImageMagick, the zh_CN.UTF-8 locale and a Wine prefix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(cmake make g++ libgtest-dev googletest g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
          wine wine64 xvfb xserver-xephyr xauth xdotool x11-utils fonts-wqy-zenhei fonts-wqy-microhei imagemagick locales
          iproute2 clang libclang-rt-14-dev openssl python3)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=; [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes its ANSI code page from the locale: zh_CN.UTF-8 gives 936, as on a Chinese Windows.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  sudo=; [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi

export WINEPREFIX="$root/build/wine-prefix" WINEDEBUG=-all LANG=zh_CN.UTF-8
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$root/build"
  echo "Creating the Wine prefix (first time only)..."
  xvfb-run -a sh -c 'wineboot -i && wineserver -w' >/dev/null 2>&1
fi

# Windows' Chinese interface faces are not in Wine, and the face it finds for them by itself
# drops strokes at small sizes; an outline face stands in for them.
if ! grep -q 'WenQuanYi Micro Hei' "$WINEPREFIX/user.reg" 2>/dev/null; then
  for face in 'Microsoft YaHei UI' 'Microsoft YaHei' SimSun NSimSun 宋体; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d 'WenQuanYi Micro Hei' /f >/dev/null
  done
  wineserver -w
fi
