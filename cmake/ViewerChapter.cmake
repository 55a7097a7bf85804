# A chapter is a folder of page routines whose header <name>/<name>_chapter.h
# declares the class <Name>Chapter. add_viewer_chapter(name [DIR dir]) makes
# its library <name>_chapter from every .cpp of the folder, the viewer <name>
# from a generated main, and lists it for the chapter catalog.
set(VIEWER_CMAKE_DIR ${CMAKE_CURRENT_LIST_DIR})

function(add_viewer_chapter name)
  cmake_parse_arguments(ARG "" "DIR" "" ${ARGN})
  if(NOT ARG_DIR)
    set(ARG_DIR ${CMAKE_CURRENT_SOURCE_DIR}/${name})
  endif()
  string(SUBSTRING ${name} 0 1 initial)
  string(TOUPPER ${initial} initial)
  string(SUBSTRING ${name} 1 -1 rest)
  set(VIEWER_CLASS "${initial}${rest}Chapter")
  set(VIEWER_HEADER "${name}/${name}_chapter.h")

  file(GLOB sources CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  add_library(${name}_chapter STATIC ${sources})
  # Includes are qualified by the chapter's folder ("alder/figure.h"), so
  # two chapters may each have a header of the same name.
  get_filename_component(parent ${ARG_DIR} DIRECTORY)
  target_include_directories(${name}_chapter PUBLIC ${parent})
  target_link_libraries(${name}_chapter PUBLIC shell)

  configure_file(${VIEWER_CMAKE_DIR}/viewer_main.cpp.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${name}_main.cpp @ONLY)
  add_executable(${name} ${CMAKE_CURRENT_BINARY_DIR}/${name}_main.cpp)
  target_link_libraries(${name} PRIVATE ${name}_chapter)
  # The PDF writer's module takes the library's code from the viewer.
  set_target_properties(${name} PROPERTIES ENABLE_EXPORTS ON)
  add_dependencies(${name} courseviewers-pdf)

  set_property(GLOBAL APPEND PROPERTY VIEWER_CHAPTER_NAMES ${name})
  set_property(GLOBAL APPEND PROPERTY VIEWER_CHAPTER_CLASSES ${VIEWER_CLASS})
  set_property(GLOBAL APPEND PROPERTY VIEWER_CHAPTER_HEADERS ${VIEWER_HEADER})
endfunction()

# Writes the catalog's table of every chapter added so far to file.
function(write_chapter_catalog file)
  get_property(names GLOBAL PROPERTY VIEWER_CHAPTER_NAMES)
  get_property(classes GLOBAL PROPERTY VIEWER_CHAPTER_CLASSES)
  get_property(headers GLOBAL PROPERTY VIEWER_CHAPTER_HEADERS)
  set(VIEWER_INCLUDES "")
  set(VIEWER_ENTRIES "")
  foreach(name header class IN ZIP_LISTS names headers classes)
    string(APPEND VIEWER_INCLUDES "#include \"${header}\"\n")
    string(APPEND VIEWER_ENTRIES
           "        {QStringLiteral(\"${name}\"), [] { return std::unique_ptr<shell::Chapter>(new chapters::${class}); }},\n")
  endforeach()
  configure_file(${VIEWER_CMAKE_DIR}/chapter_table.cpp.in ${file} @ONLY)
endfunction()

# The menu data of a viewer: viewer_menu_entry(name NAME_JA .. NAME_EN ..
# COMMENT_JA .. COMMENT_EN ..), its names and what it teaches in Japanese and
# English.
set(VIEWER_MENU_FIELDS NAME_JA NAME_EN COMMENT_JA COMMENT_EN)
function(viewer_menu_entry name)
  cmake_parse_arguments(ARG "" "${VIEWER_MENU_FIELDS}" "" ${ARGN})
  foreach(field ${VIEWER_MENU_FIELDS})
    if(NOT ARG_${field})
      message(FATAL_ERROR "viewer_menu_entry(${name}) has no ${field}")
    endif()
    set_property(GLOBAL PROPERTY VIEWER_MENU_${name}_${field} "${ARG_${field}}")
  endforeach()
endfunction()

# A CMake bracket argument holding text as it is, with a bracket the text
# cannot close.
function(cmake_bracket out text)
  set(eq "")
  string(FIND "${text}" "]${eq}]" at)
  while(NOT at EQUAL -1)
    string(APPEND eq "=")
    string(FIND "${text}" "]${eq}]" at)
  endwhile()
  set(${out} "[${eq}[${text}]${eq}]" PARENT_SCOPE)
endfunction()

find_program(VIEWERS_GZIP gzip REQUIRED)

# The viewer's manual page, name.1.gz in the current binary folder, made at
# build time from cmake/viewer.1.in with the menu entry's data (the VIEWER_*
# variables install_viewer sets) and what the chapter's profile says (only
# the chapter's code knows that, so the program chapter_profile is asked).
function(add_viewer_manual name)
  set(menu ${CMAKE_CURRENT_BINARY_DIR}/${name}.manual-menu.cmake)
  set(profile ${CMAKE_CURRENT_BINARY_DIR}/${name}.manual-profile.cmake)
  set(page ${CMAKE_CURRENT_BINARY_DIR}/${name}.1)
  set(content "")
  foreach(var VIEWER_NAME PROJECT_VERSION VIEWERS_RELEASE_DATE
              VIEWER_NAME_EN VIEWER_NAME_JA VIEWER_COMMENT_EN VIEWER_COMMENT_JA)
    cmake_bracket(value "${${var}}")
    string(APPEND content "set(${var} ${value})\n")
  endforeach()
  # Copied only when it changed, so that configuring again does not make
  # every page again.
  file(WRITE ${menu}.new "${content}")
  configure_file(${menu}.new ${menu} COPYONLY)
  add_custom_command(OUTPUT ${page} ${page}.gz
    COMMAND chapter_profile ${name} ${profile}
    COMMAND ${CMAKE_COMMAND} -DMENU=${menu} -DPROFILE=${profile}
            -DTEMPLATE=${VIEWER_CMAKE_DIR}/viewer.1.in -DPAGE=${page} -DGZIP=${VIEWERS_GZIP}
            -P ${VIEWER_CMAKE_DIR}/ViewerManual.cmake
    DEPENDS chapter_profile ${menu} ${VIEWER_CMAKE_DIR}/viewer.1.in
            ${VIEWER_CMAKE_DIR}/ViewerManual.cmake
    COMMENT "Manual page of ${name}"
    VERBATIM)
  add_custom_target(${name}_manual ALL DEPENDS ${page}.gz)
endfunction()

# Installs the viewer in bin/ with what makes it a desktop program: its menu
# entry, its icon (icon.svg of the chapter's folder) and its AppStream
# metainfo, each named by the viewer's application id; and its manual page.
function(install_viewer name)
  cmake_parse_arguments(ARG "" "DIR" "" ${ARGN})
  if(NOT ARG_DIR)
    set(ARG_DIR ${CMAKE_CURRENT_SOURCE_DIR}/${name})
  endif()
  foreach(field ${VIEWER_MENU_FIELDS})
    get_property(value GLOBAL PROPERTY VIEWER_MENU_${name}_${field})
    if(NOT value)
      message(FATAL_ERROR "the viewer ${name} has no viewer_menu_entry (or no ${field} in it)")
    endif()
    set(VIEWER_${field} "${value}")
    # The metainfo is XML.
    string(REPLACE "&" "&amp;" value "${value}")
    string(REPLACE "<" "&lt;" value "${value}")
    string(REPLACE ">" "&gt;" value "${value}")
    set(VIEWER_XML_${field} "${value}")
  endforeach()
  set(icon ${ARG_DIR}/icon.svg)
  if(NOT EXISTS ${icon})
    message(FATAL_ERROR "the viewer ${name} has no icon: ${icon} is missing")
  endif()
  set(VIEWER_NAME ${name})
  set(VIEWER_APP_ID ${VIEWERS_APP_ID_PREFIX}.${name})
  set(desktop ${CMAKE_CURRENT_BINARY_DIR}/${VIEWER_APP_ID}.desktop)
  set(metainfo ${CMAKE_CURRENT_BINARY_DIR}/${VIEWER_APP_ID}.metainfo.xml)
  configure_file(${VIEWER_CMAKE_DIR}/viewer.desktop.in ${desktop} @ONLY)
  configure_file(${VIEWER_CMAKE_DIR}/viewer.metainfo.xml.in ${metainfo} @ONLY)

  install(TARGETS ${name} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${desktop} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
          RENAME ${VIEWER_APP_ID}.svg)
  install(FILES ${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  add_viewer_manual(${name})
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${name}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  set_property(GLOBAL APPEND PROPERTY VIEWER_INSTALLED_NAMES ${name})
endfunction()
