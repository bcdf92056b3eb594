# blikon.exe for Windows: a window program (no console window) with its icon, manifest
# and version information, the Windows platform plugin and style linked in, and Qt's
# Czech catalogue inside; beside it Qt's licences and the LGPL notice, and avrdude.
# package.cmake makes the installer and the zip of these files.
if(NOT CMAKE_CROSSCOMPILING)
  message(FATAL_ERROR "Blikon for Windows is cross-built on Linux with MinGW: scripts/windows")
endif()

# The .exe's icon: the program icon drawn in its sizes by the build machine's Qt.
set(icon_svg ${PROJECT_SOURCE_DIR}/ui/resources/icon.svg)
set(ico_dir ${CMAKE_CURRENT_BINARY_DIR}/ico)
set(BLIKON_ICO ${CMAKE_CURRENT_BINARY_DIR}/blikon.ico CACHE INTERNAL "blikon.exe's icon, also the installer's")
set(ico_pngs)
foreach(size 16 24 32 48 64 128 256)
  set(png ${ico_dir}/${size}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ico_dir}
    COMMAND ${BLIKON_RENDERICON} ${icon_svg} ${size} ${png}
    DEPENDS ${BLIKON_HOST_TOOLS} ${icon_svg}
    COMMENT "Drawing the ${size} px icon of blikon.exe")
  list(APPEND ico_pngs ${png})
endforeach()
add_custom_command(OUTPUT ${BLIKON_ICO}
  COMMAND ${BLIKON_MAKEICO} ${BLIKON_ICO} ${ico_pngs}
  DEPENDS ${BLIKON_HOST_TOOLS} ${ico_pngs}
  COMMENT "Packing blikon.ico")

set(BLIKON_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/blikon.manifest)
configure_file(windows/blikon.manifest ${BLIKON_MANIFEST} @ONLY)
set(rc ${CMAKE_CURRENT_BINARY_DIR}/blikon.rc)
configure_file(windows/blikon.rc.in ${rc} @ONLY)
add_custom_target(blikon_icon DEPENDS ${BLIKON_ICO})
add_dependencies(blikon blikon_icon)
target_sources(blikon PRIVATE ${rc})
set_source_files_properties(${rc} TARGET_DIRECTORY blikon PROPERTIES OBJECT_DEPENDS "${BLIKON_ICO};${BLIKON_MANIFEST}")

set_target_properties(blikon PROPERTIES WIN32_EXECUTABLE ON)
qt_import_plugins(blikon
  INCLUDE_BY_TYPE platforms Qt6::QWindowsIntegrationPlugin
  INCLUDE_BY_TYPE styles Qt6::QWindowsVistaStylePlugin
  EXCLUDE_BY_TYPE imageformats)

# Qt's Czech catalogue (Debian's qt6-translations-l10n) inside the program, where
# installQtTranslation() looks first: a Windows machine has no Qt to find it in.
find_file(BLIKON_QT_CATALOGUE qtbase_cs.qm PATHS /usr/share/qt6/translations NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT BLIKON_QT_CATALOGUE)
  message(FATAL_ERROR "Qt's Czech catalogue qtbase_cs.qm is missing: install qt6-translations-l10n")
endif()
get_filename_component(catalogue_dir ${BLIKON_QT_CATALOGUE} DIRECTORY)
qt_add_resources(blikon_app qt_catalogue PREFIX /translations BASE ${catalogue_dir} FILES ${BLIKON_QT_CATALOGUE})

# Qt is linked in statically, so its licences come along: the LGPL notice beside the
# program, the licence texts of Qt's source and Debian's account of them per file in
# licence/. scripts/windows copies them from the source into the Qt prefix.
get_filename_component(qt_prefix ${Qt6_DIR}/../../.. ABSOLUTE)
set(BLIKON_QT_LICENCE_DIR ${qt_prefix}/licence CACHE PATH "Licence texts of the Qt linked in")
if(NOT EXISTS ${BLIKON_QT_LICENCE_DIR}/LGPL-3.0-only.txt OR NOT EXISTS ${BLIKON_QT_LICENCE_DIR}/copyright-debian.txt)
  message(FATAL_ERROR "Qt's licence texts are not in ${BLIKON_QT_LICENCE_DIR}: scripts/windows puts them there")
endif()

# The notes name the Debian versions of the sources, which scripts/windows writes into
# each cache folder as debian-version.
function(blikon_debian_version folder variable)
  if(NOT EXISTS ${folder}/debian-version)
    message(FATAL_ERROR "${folder} has no debian-version: scripts/windows writes it")
  endif()
  file(STRINGS ${folder}/debian-version version LIMIT_COUNT 1)
  set(${variable} ${version} PARENT_SCOPE)
endfunction()
blikon_debian_version(${qt_prefix} QT_DEBIAN_VERSION)
set(BLIKON_QT_NOTE ${CMAKE_CURRENT_BINARY_DIR}/LICENCE-Qt.txt CACHE INTERNAL "The Qt notice, the installer's licence page")
configure_file(windows/LICENCE-Qt.txt ${BLIKON_QT_NOTE} @ONLY NEWLINE_STYLE CRLF)

# avrdude programs the chip: avrdude.exe with its configuration and Blikon's AT89 parts
# beside blikon.exe, its licence and libusb-1.0's (linked in), and a note where their
# source is. scripts/windows cross-builds it into the cache from Debian's source.
set(BLIKON_AVRDUDE_DIR "" CACHE PATH "avrdude for Windows: avrdude.exe, avrdude.conf, licence/")
if(NOT EXISTS ${BLIKON_AVRDUDE_DIR}/avrdude.exe)
  message(FATAL_ERROR "No avrdude.exe in BLIKON_AVRDUDE_DIR (${BLIKON_AVRDUDE_DIR}): scripts/windows builds it")
endif()
blikon_debian_version(${BLIKON_AVRDUDE_DIR} AVRDUDE_DEBIAN_VERSION)
string(REGEX REPLACE "[+-].*" "" AVRDUDE_VERSION ${AVRDUDE_DEBIAN_VERSION})
file(STRINGS ${BLIKON_AVRDUDE_DIR}/libusb-version libusb LIMIT_COUNT 1)
string(REPLACE "libusb-1.0 " "" LIBUSB_DEBIAN_VERSION "${libusb}")
configure_file(windows/AVRDUDE.txt ${CMAKE_CURRENT_BINARY_DIR}/AVRDUDE.txt @ONLY NEWLINE_STYLE CRLF)

# giflib, once the program links it for the GIF export, brings its licence.
find_package(GIF QUIET)
if(GIF_FOUND AND EXISTS ${GIF_INCLUDE_DIR}/../licence)
  install(DIRECTORY ${GIF_INCLUDE_DIR}/../licence/ DESTINATION licence)
endif()

install(TARGETS blikon RUNTIME DESTINATION .)
install(FILES ${BLIKON_QT_NOTE} DESTINATION .)
install(DIRECTORY ${BLIKON_QT_LICENCE_DIR}/ DESTINATION licence)
install(PROGRAMS ${BLIKON_AVRDUDE_DIR}/avrdude.exe DESTINATION .)
install(FILES ${BLIKON_AVRDUDE_DIR}/avrdude.conf ${CMAKE_CURRENT_BINARY_DIR}/AVRDUDE.txt
              ${CMAKE_CURRENT_SOURCE_DIR}/avrdude/blikon-at89.conf DESTINATION .)
install(DIRECTORY ${BLIKON_AVRDUDE_DIR}/licence/ DESTINATION licence)
