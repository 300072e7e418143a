# SPDX-License-Identifier: MIT
# The Debian package, built by CPack from the install rules: ./package.sh, or
# "cpack -G DEB" in a configured build folder. The libraries it needs are found by
# dpkg-shlibdeps from the executable and the sound module; the rest is listed here.

set(CPACK_PACKAGE_NAME orbilo)
set(CPACK_PACKAGE_VENDOR "The Orbilo developers")
set(CPACK_PACKAGE_CONTACT "The Orbilo developers <orbilo@users.noreply.github.com>")

# Debian keeps a package's licence and change log in /usr/share/doc/<package>/, the log
# compressed without a time stamp; and the tags of its package checker that do not apply.
set(ORBILO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/orbilo)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${ORBILO_DOC_DIR} RENAME copyright)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${CMAKE_BINARY_DIR}/changelog @ONLY)
find_program(ORBILO_GZIP gzip)
if(ORBILO_GZIP)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
    COMMAND ${ORBILO_GZIP} -9nkf ${CMAKE_BINARY_DIR}/changelog
    DEPENDS ${CMAKE_BINARY_DIR}/changelog
    VERBATIM)
  add_custom_target(orbilo_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
  install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${ORBILO_DOC_DIR})
endif()
install(FILES ${CMAKE_CURRENT_LIST_DIR}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME orbilo)
# The compiler's version notes (.comment) are no part of a program: removed from what is
# installed, as Debian's own packages do, once every install rule has run.
if(UNIX AND NOT APPLE AND CMAKE_OBJCOPY)
  install(CODE "
    file(GLOB_RECURSE orbilo_binaries \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/*orbilo\" \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/*liborbilo_sound_qt.so\")
    foreach(binary IN LISTS orbilo_binaries)
      file(READ \"\${binary}\" magic LIMIT 4 HEX)
      if(NOT magic STREQUAL \"7f454c46\")
        continue()
      endif()
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment \"\${binary}\" RESULT_VARIABLE failed)
      if(failed)
        message(FATAL_ERROR \"could not remove .comment from \${binary}\")
      endif()
    endforeach()")
endif()
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tile puzzle on the five elements")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Every text on screen is Japanese: without a Japanese face it is unreadable.
# Qt's X11 platform plugin comes with its GUI library (libqt6gui6), a dependency found by
# dpkg-shlibdeps, so an install without recommendations opens the window too; the package
# test checks that every library the program and that plugin load comes that way.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-japanese-gothic, fonts-ipafont-mincho | fonts-japanese-mincho")
# The synopsis is CPACK_PACKAGE_DESCRIPTION_SUMMARY; CPack indents these lines and marks the
# empty one.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A single-player tile puzzle on the Chinese five elements: wood, fire, earth,
metal and water. Every tile shows one of the ten stems, the twelve branches or
the nine stars; two neighbouring tiles of the same set are scored by how their
elements stand to each other and removed. Moves can be taken back, the score
tables can be edited, and the best 30 results are kept in a ranking.

The game is in Japanese.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)

include(CPack)
