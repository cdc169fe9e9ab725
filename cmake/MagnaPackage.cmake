# The Debian package: `cpack -G DEB` in a release build folder gives
# magna_<version>_<arch>.deb, installed under /usr, its library dependencies
# found by dpkg-shlibdeps.

set(CPACK_PACKAGE_NAME magna)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Magna developers")
set(CPACK_PACKAGE_CONTACT "${MAGNA_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${MAGNA_PACKAGE_MAINTAINER}")
# The Japanese faces the program draws its Windows font names with, Qt's own
# dialogs in Japanese, and a launcher for the help page.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-translations-l10n, xdg-utils")
# The first line is the summary; the rest the extended description (CPack indents it).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "show text in a very large font
Magna shows a piece of text in a very large font (72 points, 8 to 144 with
the toolbar, Ctrl+Up/Down or Ctrl and the mouse wheel). With clipboard watching
on, every text another program copies replaces the shown text at once. The
status line shows the character at the caret with its Shift_JIS, UTF-16 and
UTF-8 codes. Text can also come from the command line, standard input or a
file, its character code detected.")

include(CPack)
