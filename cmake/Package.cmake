# The Debian package of the installed viewers: `cpack -G DEB` in the build
# directory (or `cmake --build build --target package`).
set(CPACK_PACKAGE_NAME course-viewers)
set(CPACK_PACKAGE_VENDOR "Course viewers team")
# The domain is the one the application ids (org.courseviewers) are named
# from; a packager sets their own address.
set(VIEWERS_PACKAGE_MAINTAINER "Course viewers team <course-viewers@courseviewers.org>"
    CACHE STRING "Maintainer of the Debian package, as \"Name <address>\"")
set(CPACK_PACKAGE_CONTACT "${VIEWERS_PACKAGE_MAINTAINER}")
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
# A Debian revision makes the package non-native, whose changelog is
# changelog.Debian.gz.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The libraries the viewers link come from dpkg-shlibdeps; the rest is what
# they load or read at run time: Qt's display plugins, the event sounds and
# the fonts that stand in for the pages' faces.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The fonts are depended on, not shipped; the copyright file says so.
set(VIEWERS_FONT_PACKAGES fonts-noto-cjk fonts-noto-core fonts-liberation2 fonts-urw-base35 fonts-dejavu-core)
list(JOIN VIEWERS_FONT_PACKAGES ", " VIEWERS_FONT_PACKAGES_TEXT)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, sound-theme-freedesktop, ${VIEWERS_FONT_PACKAGES_TEXT}")

# The package's copyright file and changelog, in its doc folder (the
# package's name, not the project's). A release adds its entry on top of
# cmake/changelog.Debian.in.
set(VIEWERS_DEB_VERSION ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})
string(SUBSTRING ${VIEWERS_RELEASE_DATE} 0 4 VIEWERS_COPYRIGHT_YEAR)
# A YYYY-MM-DD date as a Debian changelog writes it (RFC 2822), at midnight
# UTC; the weekday by Sakamoto's method.
function(rfc2822_date out date)
  if(NOT date MATCHES "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$")
    message(FATAL_ERROR "${date} is not a date YYYY-MM-DD")
  endif()
  set(year ${CMAKE_MATCH_1})
  set(day ${CMAKE_MATCH_3})
  math(EXPR month "${CMAKE_MATCH_2} - 1")
  set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  set(weekdays Sun Mon Tue Wed Thu Fri Sat)
  list(GET offsets ${month} offset)
  list(GET months ${month} month_name)
  set(y ${year})
  if(month LESS 2)
    math(EXPR y "${y} - 1")
  endif()
  math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day}) % 7")
  list(GET weekdays ${weekday} weekday_name)
  set(${out} "${weekday_name}, ${day} ${month_name} ${year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()
# The release's date, not the build's: the same sources make the same package.
rfc2822_date(VIEWERS_RELEASE_DATE_RFC2822 ${VIEWERS_RELEASE_DATE})

set(package_doc ${CMAKE_BINARY_DIR}/package-doc)
configure_file(${CMAKE_CURRENT_LIST_DIR}/copyright.in ${package_doc}/copyright @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.Debian.in ${package_doc}/changelog.Debian @ONLY)
# Compressed as Debian wants it: -9, and no name or time stamp, so that the
# same changelog makes the same bytes.
execute_process(COMMAND ${VIEWERS_GZIP} -9n -c ${package_doc}/changelog.Debian
                OUTPUT_FILE ${package_doc}/changelog.Debian.gz RESULT_VARIABLE gzip_status)
if(NOT gzip_status EQUAL 0)
  message(FATAL_ERROR "${VIEWERS_GZIP} could not compress the changelog: ${gzip_status}")
endif()
install(FILES ${package_doc}/copyright ${package_doc}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${CPACK_PACKAGE_NAME})
include(CPack)
