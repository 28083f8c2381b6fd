#!/usr/bin/env bash
# Builds both targets and runs every test: native unit tests, then the Wine tests
# and the end-to-end test of the real program under Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
cd "$root"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native
# The network tests again under ThreadSanitizer: fetches run beside the GUI thread.
cmake --preset tsan >/dev/null
cmake --build --preset tsan
"$root/build/tsan/unit_tests" --gtest_brief=1 \
  --gtest_filter='HomepageThread*:HttpClient*:RobotInternet*:ProxySettings*:WebMonitor*:UpdateCheck*:TcpSocket*:Pop3*:MailMonitor*:MailPage*:HostMonitor*'
cmake --preset windows >/dev/null
cmake --build --preset windows
export WINEPREFIX="$root/build/wine-prefix" WINEDEBUG=-all LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
xvfb-run -a -s '-screen 0 1024x768x24' ctest --preset windows
