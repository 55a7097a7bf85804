# Makes a viewer's manual page, at build time:
#
#   cmake -DMENU=f -DPROFILE=f -DTEMPLATE=viewer.1.in -DPAGE=name.1 -DGZIP=gzip
#         -P ViewerManual.cmake
#
# MENU holds the viewer's name, its menu entry, the version and the release
# date (written at configure time by install_viewer); PROFILE what the
# chapter's profile says (written by chapter_profile). Writes PAGE and PAGE.gz,
# compressed as Debian wants its manual pages (-9, no name or time stamp, so
# that the same page makes the same bytes).
foreach(var MENU PROFILE TEMPLATE PAGE GZIP)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "ViewerManual.cmake needs -D${var}=...")
  endif()
endforeach()
include(${MENU})
include(${PROFILE})

# Bytes that start the UTF-8 of U+3000 to U+9FFF (Japanese punctuation, kana
# and kanji), and the bytes that continue a character.
string(ASCII 227 cjk_first)
string(ASCII 233 cjk_last)
string(ASCII 128 continued_first)
string(ASCII 191 continued_last)

# Text from the tables as roff sees it: a backslash is printed, not an escape,
# and the leading \& keeps a value that starts with a dot or an apostrophe
# from being read as a request when it begins a line. Japanese has no spaces
# and groff breaks lines only at spaces, so a break point (\:) follows every
# Japanese character, except before a comma or full stop, which may not begin
# a line, and at the end, where the template goes on.
function(roff_text out text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "\n" " " text "${text}")
  string(REGEX REPLACE "([${cjk_first}-${cjk_last}][${continued_first}-${continued_last}][${continued_first}-${continued_last}])"
         "\\1\\\\:" text "${text}")
  string(REPLACE "\\:、" "、" text "${text}")
  string(REPLACE "\\:。" "。" text "${text}")
  string(REGEX REPLACE "\\\\:$" "" text "${text}")
  set(${out} "\\&${text}" PARENT_SCOPE)
endfunction()

foreach(field TITLE NAME_EN NAME_JA COMMENT_EN COMMENT_JA)
  roff_text(VIEWER_ROFF_${field} "${VIEWER_${field}}")
endforeach()
string(TOUPPER "${VIEWER_NAME}" VIEWER_MAN_TITLE)

configure_file(${TEMPLATE} ${PAGE} @ONLY)
execute_process(COMMAND ${GZIP} -9n -c ${PAGE} OUTPUT_FILE ${PAGE}.gz RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE ${PAGE}.gz)
  message(FATAL_ERROR "${GZIP} could not compress ${PAGE}: ${status}")
endif()
