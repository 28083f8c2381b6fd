# Native build: the core with its native codec, the fake shell and the unit tests.
target_sources(lumivar_core PRIVATE src/native/GbkIconv.cpp src/native/PosixSocket.cpp
  src/native/PosixIcmp.cpp src/native/EnvProxy.cpp)


# -DLUMIVAR_TSAN=ON: core and tests under ThreadSanitizer, for what the monitors share across threads.
option(LUMIVAR_TSAN "Build the core and the unit tests with ThreadSanitizer" OFF)
if(LUMIVAR_TSAN)
  target_compile_options(lumivar_core PUBLIC -fsanitize=thread -g)
  target_link_options(lumivar_core PUBLIC -fsanitize=thread)
endif()

# -DLUMIVAR_ASAN=ON: core and tests under AddressSanitizer and UndefinedBehaviorSanitizer;
# the first report fails the run.
option(LUMIVAR_ASAN "Build the core and the unit tests with ASan and UBSan" OFF)
if(LUMIVAR_ASAN)
  target_compile_options(lumivar_core PUBLIC -fsanitize=address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer -g)
  target_link_options(lumivar_core PUBLIC -fsanitize=address,undefined)
endif()

# -DLUMIVAR_FUZZ=ON (clang): the libFuzzer targets under fuzz/.
option(LUMIVAR_FUZZ "Build the libFuzzer targets" OFF)
if(LUMIVAR_FUZZ)
  add_subdirectory(fuzz)
endif()

find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB FAKE_SOURCES CONFIGURE_DEPENDS tests/fake/*.cpp)
file(GLOB UNIT_TESTS CONFIGURE_DEPENDS
  tests/base/*.cpp tests/app/*.cpp tests/settings/*.cpp tests/tasks/*.cpp tests/rest/*.cpp
  tests/system/*.cpp tests/net/*.cpp tests/about/*.cpp)
add_executable(unit_tests ${FAKE_SOURCES} ${UNIT_TESTS})
target_include_directories(unit_tests PRIVATE tests)
target_link_libraries(unit_tests PRIVATE lumivar_core GTest::gtest_main)
gtest_discover_tests(unit_tests PROPERTIES ENVIRONMENT "TZ=Asia/Shanghai")

# For bench/footprint.sh: the rest screen's repaint on the fake shell, built only when asked for.
add_executable(bench_repaint EXCLUDE_FROM_ALL bench/repaint.cpp ${FAKE_SOURCES})
target_include_directories(bench_repaint PRIVATE tests)
target_link_libraries(bench_repaint PRIVATE lumivar_core)
