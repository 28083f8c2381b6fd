#!/usr/bin/env bash
# Builds Lumivar.exe and starts it under Wine (on Windows, run the .exe itself).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
cd "$root"
cmake --preset windows >/dev/null
cmake --build --preset windows --target Lumivar
echo "Starting Lumivar (it lives in the tray; Ctrl+Shift+A starts a rest)..."
exec "$root/scripts/wine-run.sh" "$root/build/windows/Lumivar.exe"
