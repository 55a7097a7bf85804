# The Debian package of the installed viewers: `cpack -G DEB` in the build
# directory (or `cmake --build build --target package`).
set(CPACK_PACKAGE_NAME course-viewers)
set(CPACK_PACKAGE_VENDOR "Course viewers team")
set(CPACK_PACKAGE_CONTACT "Course viewers team <course-viewers@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewers for a course in mathematical physics and numerical methods")
# Lines of the long description; no semicolons (CMake would take them as
# list separators).
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Seven desktop viewers (alder, birch, cedar, hazel, larch, maple, rowan), each\n"
    "showing one chapter as a few pages of Japanese text with typeset formulas,\n"
    "computed graphs and drawings. The reader pages with the arrow keys and prints\n"
    "the page on display.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The libraries the viewers link come from dpkg-shlibdeps; the rest is what
# they load or read at run time: Qt's display plugins, the event sounds and
# the fonts that stand in for the pages' faces.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, sound-theme-freedesktop, fonts-noto-cjk, fonts-noto-core, fonts-liberation2, fonts-urw-base35, fonts-dejavu-core")
include(CPack)
