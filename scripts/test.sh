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
# The network tests and the worker again under ThreadSanitizer: fetches run beside the GUI thread.
cmake --preset tsan >/dev/null
cmake --build --preset tsan
"$root/build/tsan/unit_tests" --gtest_brief=1 \
  --gtest_filter='Worker*:HomepageThread*:HttpClient*:RobotInternet*:ProxySettings*:WebMonitor*:MonitorTest*:Pop3*:MailPage*'
# All of them under AddressSanitizer and UndefinedBehaviorSanitizer.
cmake --preset asan >/dev/null
cmake --build --preset asan
TZ=Asia/Shanghai "$root/build/asan/unit_tests" --gtest_brief=1
# A few seconds of each fuzzer from the kept corpus; what it finds lands in build/fuzz/found.
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for target in IniFile Settings TaskDate Url HttpReply Pop3 PingReply; do
  mkdir -p "$root/build/fuzz/corpus/$target" "$root/build/fuzz/found"
  "$root/build/fuzz/fuzz/${target}Fuzz" -max_total_time=5 -max_len=4096 -print_final_stats=0 \
    -artifact_prefix="$root/build/fuzz/found/$target-" \
    "$root/build/fuzz/corpus/$target" "$root/fuzz/corpus/$target" 2>"$root/build/fuzz/$target.log" ||
    { tail -n 30 "$root/build/fuzz/$target.log"; exit 1; }
done
cmake --preset windows >/dev/null
cmake --build --preset windows
export WINEPREFIX="$root/build/wine-prefix" WINEDEBUG=-all LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
xvfb-run -a -s '-screen 0 1024x768x24' ctest --preset windows
