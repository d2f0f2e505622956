# What the Linux edition ships beside the program, its menu entry and icons
# (app/linux/): the manual page, the AppStream metadata, the copyright and the
# changelog; and the Debian package of it all: cpack -G DEB in the host build.
include(GNUInstallDirs)
set(LINUX_RESOURCES ${PROJECT_SOURCE_DIR}/resources/linux)
set(LINUX_DOCUMENTS ${CMAKE_BINARY_DIR}/linux_documents)
set(AMBRISK_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/ambrisk2)

# Debian wants the manual page and the changelog compressed at the highest
# level; -n leaves out the name and time, so that the same sources give the
# same bytes.
find_program(GZIP gzip REQUIRED)
file(MAKE_DIRECTORY ${LINUX_DOCUMENTS})
foreach(document ambrisk2.1 changelog)
  add_custom_command(OUTPUT ${LINUX_DOCUMENTS}/${document}.gz
    COMMAND ${GZIP} -9nc ${LINUX_RESOURCES}/${document} > ${LINUX_DOCUMENTS}/${document}.gz
    DEPENDS ${LINUX_RESOURCES}/${document} VERBATIM)
endforeach()
add_custom_target(ambrisk2_documents ALL DEPENDS ${LINUX_DOCUMENTS}/ambrisk2.1.gz ${LINUX_DOCUMENTS}/changelog.gz)
install(FILES ${LINUX_DOCUMENTS}/ambrisk2.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${LINUX_RESOURCES}/copyright ${LINUX_DOCUMENTS}/changelog.gz DESTINATION ${AMBRISK_DOCDIR})
install(FILES ${LINUX_RESOURCES}/invalid.ambrisk2.ambrisk2.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(AMBRISK_PACKAGE_MAINTAINER "Ambrisk 2 maintainers <maintainers@ambrisk2.invalid>"
    CACHE STRING "Maintainer named in the Debian package; give the real one when publishing it")
set(CPACK_PACKAGE_NAME ambrisk2)
set(CPACK_PACKAGE_VENDOR "Ambrisk 2")
set(CPACK_PACKAGE_CONTACT "${AMBRISK_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "give another program's window an exact size")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Pick a screen resolution such as 1024 x 768, or a width and height of your"
  "own, press a button and click the window you want: it takes that size, with"
  "its border added and the panel's size taken off if you wish, whatever limits"
  "its program sets. A window sized this way can be put back as it was. Handy"
  "for checking how a program, a web page or a recording looks at a given"
  "resolution."
  "."
  "Works on X11 desktops and, on Wayland, with GNOME 43 to 49 (through the"
  "GNOME Shell extension this package installs, once switched on), KDE Plasma"
  "5.27 and 6 (through a KWin script), and Sway.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links come from dpkg-shlibdeps; the fonts are
# found through fontconfig at run time: Liberation Sans stands in for Arial,
# and the Chinese captions need a CJK font. The desktops' own pieces (the
# Shell extension, the KWin script) are inert files: the package needs no
# desktop.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-wqy-microhei | fonts-noto-cjk | fonts-wqy-zenhei")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme")
set(CPACK_STRIP_FILES ON)
include(CPack)
