# Blikon's Windows code. In the Windows build itself (scripts/windows) every test runs
# under Wine, with the Windows-only tests in windows/. In the Linux build it is checked
# with the MinGW cross compiler: both checks say "Skipped" where MinGW or Wine is
# missing (scripts/test installs them). Neither has anything to do with the
# sanitizers, so the sanitized build leaves them out.
if(WIN32)
  add_subdirectory(windows)
  return()
endif()
if(BLIKON_SANITIZE)
  return()
endif()

# Every file with code for one operating system type-checks for Windows, with the flags
# the build gives it (compile_commands.json); it needs the window libraries' files built.
if(TARGET blikon_app)
  add_test(NAME windows_type_check
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/check_windows_build.py ${CMAKE_BINARY_DIR} ${PROJECT_SOURCE_DIR})
  set_tests_properties(windows_type_check PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 900)
endif()

# The code-page conversion of code files, which needs no Qt: a static Windows program
# of its own, run under Wine.
find_program(BLIKON_MINGW_CXX x86_64-w64-mingw32-g++)
set(windows_test ${CMAKE_CURRENT_BINARY_DIR}/test_codefiletext_windows.exe)
if(BLIKON_MINGW_CXX)
  set(core ${PROJECT_SOURCE_DIR}/core)
  set(sources ${core}/codefiletext.cpp ${core}/codepage.cpp ${core}/utf8.cpp
              ${CMAKE_CURRENT_SOURCE_DIR}/core/test_codefiletext_windows.cpp)
  add_custom_command(
    OUTPUT ${windows_test}
    COMMAND ${BLIKON_MINGW_CXX} -std=c++20 -O1 -Wall -Wextra -Wpedantic -Werror -static -I${core} -I${CMAKE_CURRENT_SOURCE_DIR}/support ${sources}
            -o ${windows_test}
    DEPENDS ${sources} ${core}/codefiletext.h ${core}/codepage.h ${core}/utf8.h
            ${CMAKE_CURRENT_SOURCE_DIR}/support/tableencoder.h
    COMMENT "Building the Windows test of the code-page conversion with MinGW"
    VERBATIM)
  add_custom_target(test_codefiletext_windows ALL DEPENDS ${windows_test})
endif()
add_test(NAME windows_code_page
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/run_under_wine.sh ${windows_test} ${CMAKE_CURRENT_BINARY_DIR}/wineprefix)
set_tests_properties(windows_code_page PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
add_test(NAME windows_type_check_catches_errors COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/check_windows_build_selftest.sh)
set_tests_properties(windows_type_check_catches_errors PROPERTIES SKIP_RETURN_CODE 77)

# The Wine prefix helper of the Windows build's tests: a prefix half made by a killed run
# or broken in place is made anew.
add_test(NAME wine_prefix COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/windows/test_wine_prefix.sh)
set_tests_properties(wine_prefix PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 1200)

# The Windows avrdude.exe of the installer, from the cache of scripts/windows, programs
# the emulated Arduino-as-ISP under Wine through a COM port.
if(TARGET arduinoisp_emulator)
  add_test(NAME windows_avrdude
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/windows/test_avrdude_under_wine.sh $<TARGET_FILE:arduinoisp_emulator>
                   ${PROJECT_SOURCE_DIR}/app/desktop/avrdude/blikon-at89.conf ${CMAKE_CURRENT_BINARY_DIR}/wine-avrdude)
  set_tests_properties(windows_avrdude PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600)
endif()
