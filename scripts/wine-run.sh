#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, in the build folder's own prefix.
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$root/build/wine-prefix}" WINEDEBUG=-all LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a wine "$@"; fi
exec wine "$@"
