# Windows build (mingw-w64): the real program, and the Wine test binary.
enable_language(RC)
file(GLOB WIN32_SOURCES CONFIGURE_DEPENDS src/win32/*.cpp)
list(FILTER WIN32_SOURCES EXCLUDE REGEX "(WinMain|Gbk|Win32Socket|Win32Tls)\\.cpp$")
# The core's text codec and sockets on Windows are the system's own.
target_sources(lumivar_core PRIVATE src/win32/Gbk.cpp src/win32/Win32Socket.cpp src/win32/Win32Tls.cpp)
set_source_files_properties(src/win32/Win32Socket.cpp src/win32/Win32Tls.cpp PROPERTIES
  COMPILE_DEFINITIONS "UNICODE;_UNICODE;WIN32_LEAN_AND_MEAN;NOMINMAX;_WIN32_WINNT=0x0601")

# A normal day needs no dialogs, sockets, TLS, proxy scripts, sounds or pictures: those DLLs load on first use,
# since under Wine each one loaded costs private memory (comdlg32 alone pulls in the printer
# stack, Schannel GnuTLS).
set(DELAY_LIBS)
foreach(dll comctl32 comdlg32 ole32 winmm ws2_32 secur32 crypt32 winhttp)
  set(lib ${CMAKE_BINARY_DIR}/delay/lib${dll}_delay.a)
  add_custom_command(OUTPUT ${lib}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delay
    COMMAND ${CMAKE_DLLTOOL} --input-def ${CMAKE_SOURCE_DIR}/cmake/delay/${dll}.def
            --output-delaylib ${lib} --dllname ${dll}.dll
    DEPENDS ${CMAKE_SOURCE_DIR}/cmake/delay/${dll}.def)
  list(APPEND DELAY_LIBS ${lib})
endforeach()
add_custom_target(delay_libs DEPENDS ${DELAY_LIBS})
add_dependencies(lumivar_core delay_libs)
target_link_libraries(lumivar_core PUBLIC ${CMAKE_BINARY_DIR}/delay/libws2_32_delay.a
                      ${CMAKE_BINARY_DIR}/delay/libsecur32_delay.a ${CMAKE_BINARY_DIR}/delay/libcrypt32_delay.a)

add_library(lumivar_win32 STATIC ${WIN32_SOURCES})
target_link_libraries(lumivar_win32 PUBLIC lumivar_core)
target_compile_definitions(lumivar_win32 PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
target_link_libraries(lumivar_win32 PUBLIC user32 gdi32 shell32 advapi32 wtsapi32 ${DELAY_LIBS} uuid)

set(STATIC_FLAGS -static -static-libgcc -static-libstdc++)

add_executable(Lumivar WIN32 src/win32/WinMain.cpp res/Lumivar.rc)
# make sees only the script's #include lines, not the files windres reads for icons and the like.
file(GLOB RESOURCE_FILES CONFIGURE_DEPENDS res/*.ico res/*.bmp res/*.manifest)
set_source_files_properties(res/Lumivar.rc PROPERTIES OBJECT_DEPENDS "${RESOURCE_FILES}")
target_link_libraries(Lumivar PRIVATE lumivar_win32)
target_link_options(Lumivar PRIVATE ${STATIC_FLAGS} -municode -s)
set_target_properties(Lumivar PROPERTIES OUTPUT_NAME Lumivar)

# For bench/footprint.sh: the floor a tray program has under Wine, with the program's own flags.
add_executable(bare_tray EXCLUDE_FROM_ALL WIN32 bench/bare_tray.cpp)
target_compile_definitions(bare_tray PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN)
target_link_libraries(bare_tray PRIVATE user32 shell32)
target_link_options(bare_tray PRIVATE ${STATIC_FLAGS} -municode -s)

# GoogleTest: cross-compiled from the sources libgtest-dev installs, or (on Windows itself,
# e.g. MSYS2's mingw-w64-x86_64-gtest) the installed package; without either, no tests.
if(EXISTS /usr/src/googletest)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest)
  if(NOT GTest_FOUND)
    return()
  endif()
endif()
include(GoogleTest)

file(GLOB WINE_TESTS CONFIGURE_DEPENDS tests/win32/*.cpp)
add_executable(wine_tests ${WINE_TESTS})
target_include_directories(wine_tests PRIVATE tests)
target_link_libraries(wine_tests PRIVATE lumivar_win32 GTest::gtest_main ws2_32)  # its listeners, beyond what the program uses
target_link_options(wine_tests PRIVATE ${STATIC_FLAGS})
add_dependencies(wine_tests Lumivar)
target_compile_definitions(wine_tests PRIVATE LUMIVAR_EXE="$<TARGET_FILE:Lumivar>")
gtest_discover_tests(wine_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120)

# End-to-end: the real program under Xvfb + Wine, driven as a person would.
if(NOT CMAKE_CROSSCOMPILING)
  return()
endif()
foreach(story day_start rest_cycle tray_menu tasks mail host web settings dpi tls_day)
  add_test(NAME e2e_${story}
    COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/${story}.sh $<TARGET_FILE:Lumivar> ${CMAKE_BINARY_DIR}/e2e/${story})
  set_tests_properties(e2e_${story} PROPERTIES TIMEOUT 300)
endforeach()

# Another program's topmost window, for the lock to cover again.
add_executable(topmost_probe WIN32 tests/e2e/topmost_probe.cpp)
target_compile_definitions(topmost_probe PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN)
target_link_options(topmost_probe PRIVATE ${STATIC_FLAGS} -municode -s)
add_dependencies(wine_tests topmost_probe)
add_test(NAME e2e_lock
  COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/lock.sh $<TARGET_FILE:Lumivar> ${CMAKE_BINARY_DIR}/e2e/lock
          $<TARGET_FILE:topmost_probe>)
set_tests_properties(e2e_lock PROPERTIES TIMEOUT 300)
# What the session does to a running program: its end asked and cancelled, keys, a new shell.
add_executable(session_probe tests/e2e/session_probe.cpp)
target_compile_definitions(session_probe PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601)
target_include_directories(session_probe PRIVATE ${CMAKE_SOURCE_DIR}/res)
target_link_options(session_probe PRIVATE ${STATIC_FLAGS} -municode -s)
add_dependencies(wine_tests session_probe)
add_test(NAME e2e_lock_loops
  COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/lock_loops.sh $<TARGET_FILE:Lumivar> ${CMAKE_BINARY_DIR}/e2e/lock_loops
          $<TARGET_FILE:session_probe>)
set_tests_properties(e2e_lock_loops PROPERTIES TIMEOUT 420)
add_test(NAME e2e_day
  COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/day.sh $<TARGET_FILE:Lumivar> ${CMAKE_BINARY_DIR}/e2e/day $<TARGET_FILE:session_probe>)
set_tests_properties(e2e_day PROPERTIES TIMEOUT 600)
add_test(NAME e2e_readonly
  COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/readonly.sh $<TARGET_FILE:Lumivar> ${CMAKE_BINARY_DIR}/e2e/readonly
          $<TARGET_FILE:session_probe>)
set_tests_properties(e2e_readonly PROPERTIES TIMEOUT 300)
# The network clients alone, against the TLS peers.
add_executable(net_probe tests/e2e/net_probe.cpp)
target_link_libraries(net_probe PRIVATE lumivar_win32)
target_link_options(net_probe PRIVATE ${STATIC_FLAGS} -s)
add_dependencies(wine_tests net_probe)
add_test(NAME net_tls COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/tls.sh ${CMAKE_BINARY_DIR}/e2e/tls $<TARGET_FILE:net_probe>)
set_tests_properties(net_tls PROPERTIES TIMEOUT 300)
# Two monitors need Xephyr; without it the story reports itself skipped.
add_test(NAME e2e_lock_two_monitors
  COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/lock_two_monitors.sh $<TARGET_FILE:Lumivar> ${CMAKE_BINARY_DIR}/e2e/lock_two_monitors)
set_tests_properties(e2e_lock_two_monitors PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)

# The download: a zip with the program and a short read-me, named after the one version number.
file(STRINGS ${CMAKE_SOURCE_DIR}/res/version.h version_line REGEX "LUMIVAR_VERSION_DOTTED")
string(REGEX MATCH "[0-9.]+" LUMIVAR_VERSION "${version_line}")
install(TARGETS Lumivar RUNTIME DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/README.txt DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Lumivar)
set(CPACK_PACKAGE_VERSION ${LUMIVAR_VERSION})
set(CPACK_PACKAGE_FILE_NAME Lumivar-${LUMIVAR_VERSION}-win64)
include(CPack)
add_test(NAME package_zip
  COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/package.sh ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR} ${LUMIVAR_VERSION})
