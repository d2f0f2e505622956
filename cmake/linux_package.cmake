# The Debian package of the Linux edition: cpack -G DEB in the host build.
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
  "resolution. Needs an X11 session; under XWayland it sizes X11 windows only.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links come from dpkg-shlibdeps; the fonts are
# found through fontconfig at run time: Liberation Sans stands in for Arial,
# and the Chinese captions need a CJK font.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-wqy-microhei | fonts-noto-cjk | fonts-wqy-zenhei")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme")
set(CPACK_STRIP_FILES ON)
include(CPack)
