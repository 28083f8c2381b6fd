#!/usr/bin/env bash
# The download as a person gets it: the zip the package target makes holds the program and the
# read-me, in one folder named after the version, and the program in it is the one just built.
# Usage: package.sh CMAKE BUILDDIR VERSION
set -euo pipefail
cmake=$1 build=$2 version=$3
zip="$build/Lumivar-$version-win64.zip"
rm -f "$zip"
"$cmake" --build "$build" --target package >/dev/null
[ -f "$zip" ] || { echo "FAIL: no $zip"; exit 1; }
python3 - "$zip" "$version" "$build/Lumivar.exe" <<'PY'
import sys, zipfile
zip_path, version, exe = sys.argv[1:]
top = f"Lumivar-{version}-win64/"
with zipfile.ZipFile(zip_path) as z:
    names = sorted(n for n in z.namelist() if not n.endswith("/"))
    assert names == [top + "Lumivar.exe", top + "README.txt"], names
    program = z.read(top + "Lumivar.exe")
    readme = z.read(top + "README.txt").decode("utf-8-sig")
assert program == open(exe, "rb").read(), "not the program just built"
for words in ("双击 Lumivar.exe", "%APPDATA%\\Lumivar", "double-click", "Ctrl+Shift+L"):
    assert words in readme, words
print(f"ok: {zip_path.rsplit('/', 1)[-1]} holds Lumivar.exe and README.txt in {top}")
PY
