# The packages, built by `cpack` in the build folder: on Windows the NSIS installer and a
# zip of the same files, elsewhere the Debian package.
set(CPACK_PACKAGE_VENDOR "Blikon")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Blikon <blikon@localhost>")
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/windows/installer.cmake)
  include(CPack)
  return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME blikon)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Light effects for a 37-LED board driven by an 8051")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Dependencies come from the binary itself (dpkg-shlibdeps), so the package pulls in
# exactly the Qt runtime libraries it links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# giflib, which writes the animated GIFs, named too: dpkg-shlibdeps finds it as well;
# "Naprogramovat čip…" writes the chip through avrdude.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgif7, avrdude")
# The free look-alike of the windows' Comic Sans MS, and Qt's Czech texts for its own
# dialogs and buttons (without them those stay in English).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-comic-neue, qt6-translations-l10n")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
