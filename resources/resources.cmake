# SPDX-License-Identifier: MIT
# The program's own resources and their install rules. Included from src/windows/CMakeLists.txt
# inside the block that defines orbilo_windows, so the resources below belong to that library.
#
# The sounds, the help document and the icon are compiled into the program: the game runs
# from its folder alone, and nothing is looked up on disk at run time except the score tables
# and the ranking. qt_add_resources on the static library (rather than a .qrc compiled into a
# plain source list) links the resource objects into every executable that uses orbilo_windows,
# the program and the windows tests, where static linking would otherwise drop the unreferenced
# initialiser.

set(ORBILO_RESOURCE_DIR ${CMAKE_CURRENT_LIST_DIR})

# The sound player reads its clips from ":/sounds/" at run time: they belong to its library,
# so whatever links the player (the windows, the platform tests) has them.
target_link_libraries(orbilo_windows PUBLIC orbilo_sound)

set(ORBILO_SOUND_FILES
    ${ORBILO_RESOURCE_DIR}/sounds/wave100.wav
    ${ORBILO_RESOURCE_DIR}/sounds/wave101.wav
    ${ORBILO_RESOURCE_DIR}/sounds/wave102.wav
    ${ORBILO_RESOURCE_DIR}/sounds/wave103.wav)

file(GLOB ORBILO_HELP_FILES CONFIGURE_DEPENDS ${ORBILO_RESOURCE_DIR}/help/*.html ${ORBILO_RESOURCE_DIR}/help/*.css
     ${ORBILO_RESOURCE_DIR}/help/en/*.html
     ${ORBILO_RESOURCE_DIR}/help/*.png)

set(ORBILO_ICON_SIZES 16 32 48 64 128 256)
set(ORBILO_ICON_FILES ${ORBILO_RESOURCE_DIR}/orbilo.svg)
foreach(size IN LISTS ORBILO_ICON_SIZES)
  list(APPEND ORBILO_ICON_FILES ${ORBILO_RESOURCE_DIR}/icons/orbilo-${size}.png)
endforeach()

# Only the PNGs are read at run time (Qt SVG is not among the program's dependencies); the SVG
# rides along for tools and for platforms that render it.
set_source_files_properties(${ORBILO_RESOURCE_DIR}/orbilo.svg PROPERTIES QT_RESOURCE_ALIAS icons/orbilo.svg)

qt_add_resources(orbilo_sound "orbilo_sounds"
  PREFIX "/"
  BASE ${ORBILO_RESOURCE_DIR}
  FILES ${ORBILO_SOUND_FILES})
qt_add_resources(orbilo_windows "orbilo_resources"
  PREFIX "/"
  BASE ${ORBILO_RESOURCE_DIR}
  FILES ${ORBILO_HELP_FILES} ${ORBILO_ICON_FILES})

# On Windows the executable carries the icon and the sounds as resources of its own
# (ORBILO_WINDOWS_RC, added to the program by src/CMakeLists.txt); the freedesktop files
# below have no place there.
if(WIN32)
  set(ORBILO_WINDOWS_RC ${CMAKE_BINARY_DIR}/orbilo.rc PARENT_SCOPE)
  configure_file(${ORBILO_RESOURCE_DIR}/orbilo.rc.in ${CMAKE_BINARY_DIR}/orbilo.rc @ONLY)
  return()
endif()

# Desktop integration: the menu entry and the icon in the freedesktop icon theme. The
# executable itself is installed by src/CMakeLists.txt.
include(GNUInstallDirs)
install(FILES ${ORBILO_RESOURCE_DIR}/orbilo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size IN LISTS ORBILO_ICON_SIZES)
  install(FILES ${ORBILO_RESOURCE_DIR}/icons/orbilo-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME orbilo.png)
endforeach()
install(FILES ${ORBILO_RESOURCE_DIR}/orbilo.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The AppStream description for software centres, and the manual page, both carrying the
# project's version. Debian wants manual pages compressed, without a time stamp (-n) so a
# rebuild gives the same bytes.
set(ORBILO_METAINFO ${CMAKE_BINARY_DIR}/io.github.orbilo.orbilo.metainfo.xml)
configure_file(${ORBILO_RESOURCE_DIR}/io.github.orbilo.orbilo.metainfo.xml.in ${ORBILO_METAINFO} @ONLY)
install(FILES ${ORBILO_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual page in English and in Japanese (man -L ja orbilo): the Japanese one in the
# language folder man-db looks in, under the same name.
set(ORBILO_MANPAGE ${CMAKE_BINARY_DIR}/orbilo.6)
set(ORBILO_MANPAGE_JA ${CMAKE_BINARY_DIR}/ja/orbilo.6)
configure_file(${ORBILO_RESOURCE_DIR}/orbilo.6.in ${ORBILO_MANPAGE} @ONLY)
configure_file(${ORBILO_RESOURCE_DIR}/orbilo.ja.6.in ${ORBILO_MANPAGE_JA} @ONLY)
find_program(ORBILO_GZIP gzip)
foreach(page IN ITEMS ORBILO_MANPAGE ORBILO_MANPAGE_JA)
  if(page STREQUAL "ORBILO_MANPAGE_JA")
    set(mandir ${CMAKE_INSTALL_MANDIR}/ja/man6)
  else()
    set(mandir ${CMAKE_INSTALL_MANDIR}/man6)
  endif()
  if(ORBILO_GZIP)
    add_custom_command(OUTPUT ${${page}}.gz
      COMMAND ${ORBILO_GZIP} -9nkf ${${page}}
      DEPENDS ${${page}}
      COMMENT "Compressing the manual page ${${page}}"
      VERBATIM)
    install(FILES ${${page}}.gz DESTINATION ${mandir})
  else()
    install(FILES ${${page}} DESTINATION ${mandir})
  endif()
endforeach()
if(ORBILO_GZIP)
  add_custom_target(orbilo_manpage ALL DEPENDS ${ORBILO_MANPAGE}.gz ${ORBILO_MANPAGE_JA}.gz)
endif()
