# The Windows installer (NSIS) and the zip of the same files, from the install rules of
# windows.cmake: blikon.exe, the LGPL notice and licence/, avrdude.exe and its notes.
set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME Blikon)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Kód pro Světelné efekty s Blikonem")
set(CPACK_PACKAGE_FILE_NAME blikon-${PROJECT_VERSION}-windows-x64)
set(CPACK_STRIP_FILES ON)

# One folder and one entry in "Programs and Features" whatever the version: a new
# version first removes the old one silently, then installs. The settings are in the
# registry under HKCU\Software\VB and VBA Program Settings\Blikon, which neither the
# installer nor the uninstaller touches, so they outlive an upgrade.
set(CPACK_PACKAGE_INSTALL_DIRECTORY Blikon)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Blikon)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")

# The Start-menu entry "Blikon" starts blikon.exe and shows its icon; the uninstaller
# lists the program with the same icon.
set(CPACK_PACKAGE_EXECUTABLES blikon Blikon)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALLED_ICON_NAME blikon.exe)
set(CPACK_NSIS_PACKAGE_NAME Blikon)
set(CPACK_NSIS_DISPLAY_NAME Blikon)
set(CPACK_NSIS_UNINSTALL_NAME Odinstalovat)
set(CPACK_NSIS_MUI_ICON ${BLIKON_ICO})
set(CPACK_NSIS_MUI_UNIICON ${BLIKON_ICO})
set(CPACK_NSIS_URL_INFO_ABOUT ${BLIKON_HOME_PAGE})
# The installer's bottom line (CPACK_NSIS_BRANDING_TEXT adds a /TRIM option, which
# makensis on Linux refuses).
set(CPACK_NSIS_DEFINES "BrandingText 'Blikon ${PROJECT_VERSION}'")
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
# The licence page shows the LGPL notice (UTF-8 with a byte-order mark, as NSIS reads it).
set(CPACK_RESOURCE_FILE_LICENSE ${BLIKON_QT_NOTE})

# The installer speaks Czech only: CMake's own NSIS template, made a 64-bit Unicode
# installer (as the program is 64-bit; Wine without its 32-bit part runs it too) with
# Czech as its one language and its few texts of its own in Czech. Each change
# must find its place, so that a different template of another CMake stops the build
# here instead of shipping English.
set(nsis_dir ${CMAKE_BINARY_DIR}/nsis)
file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in nsis_template)
function(change_template old new)
  string(FIND "${nsis_template}" "${old}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "CMake's NSIS template has no \"${old}\": the Czech installer needs an update")
  endif()
  string(REPLACE "${old}" "${new}" changed "${nsis_template}")
  set(nsis_template "${changed}" PARENT_SCOPE)
endfunction()
change_template("; CPack install script" "Target amd64-unicode\n; CPack install script")
change_template("!insertmacro MUI_LANGUAGE \"English\" ;first language is the default language"
                "!insertmacro MUI_LANGUAGE \"Czech\" ;the one language")
string(REGEX REPLACE " *!insertmacro MUI_LANGUAGE \"[A-Za-z]+\"\n" "" nsis_template "${nsis_template}")
change_template("\\Uninstall.lnk" "\\Odinstalovat @CPACK_NSIS_PACKAGE_NAME@.lnk")
change_template("Uninstall failed." "Odinstalace se nezdařila.")
change_template("@CPACK_NSIS_PACKAGE_NAME@ is already installed. $\\n$\\nDo you want to uninstall the old version before installing the new one?"
                "@CPACK_NSIS_PACKAGE_NAME@ už je nainstalován. $\\n$\\nOdinstalovat před instalací nové verze tu starou?")
string(REGEX MATCHALL "MUI_LANGUAGE \"[A-Za-z]+\"" languages "${nsis_template}")
if(NOT languages STREQUAL "MUI_LANGUAGE \"Czech\"")
  message(FATAL_ERROR "The NSIS template still names other languages: ${languages}")
endif()
file(WRITE ${nsis_dir}/NSIS.template.in "${nsis_template}")
set(CPACK_MODULE_PATH ${nsis_dir})
