# Windows with MinGW (cmake/mingw-w64-x86_64.cmake and the static Qt that scripts/windows
# builds): every program is one self-contained .exe.
enable_language(RC)

# The MinGW runtime (libstdc++, libgcc, winpthread) linked in, so that no DLL of the
# compiler has to come along.
add_link_options(-static)

# Windows programs built here run under Wine: the tests through ctest, each in a Wine
# prefix under the build folder (tests/windows/wine_emulator.sh).
if(CMAKE_CROSSCOMPILING)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/tests/windows/wine_emulator.sh ${CMAKE_BINARY_DIR}/wine)
endif()

# A test on Qt's offscreen platform alone: none of the Windows platform, style or image
# plugins linked into every one of them.
function(blikon_offscreen_plugins target)
  qt_import_plugins(${target}
    INCLUDE_BY_TYPE platforms Qt6::QOffscreenIntegrationPlugin
    EXCLUDE_BY_TYPE styles imageformats)
endfunction()
