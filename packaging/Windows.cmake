# SPDX-License-Identifier: MIT
# What a Windows copy of Orbilo needs beside its executable, and the installer that CPack's
# NSIS generator makes of it ("cpack -G NSIS" in a configured cross build; ./windows.sh).
# Installed, the folder holds orbilo.exe, the sound module, the Qt and MinGW runtime DLLs,
# platforms/qwindows.dll, styles/qwindowsvistastyle.dll, qt.conf, Qt's Japanese texts for
# the stock dialogs and share/orbilo/ with the default score tables.

# The C++ runtime of the -posix MinGW compilers, found where the compiler finds it.
set(ORBILO_MINGW_RUNTIME)
if(MINGW)
  foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
      message(FATAL_ERROR "The MinGW runtime ${dll} was not found (${path})")
    endif()
    list(APPEND ORBILO_MINGW_RUNTIME ${path})
  endforeach()
endif()
set(ORBILO_MINGW_RUNTIME ${ORBILO_MINGW_RUNTIME} CACHE INTERNAL "The MinGW runtime DLLs")

install(FILES ${ORBILO_MINGW_RUNTIME}
              $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
        DESTINATION ${ORBILO_INSTALL_BINDIR})
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION ${ORBILO_INSTALL_BINDIR}/platforms)
if(TARGET Qt6::QWindowsVistaStylePlugin)
  install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION ${ORBILO_INSTALL_BINDIR}/styles)
endif()
# Qt looks for its plugins and texts from the executable's folder, wherever it is unpacked.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/qt.conf DESTINATION ${ORBILO_INSTALL_BINDIR})
# Qt's own Japanese texts for the stock buttons; the same file on every platform.
find_file(ORBILO_QTBASE_JA qtbase_ja.qm PATHS /usr/share/qt6/translations NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
if(ORBILO_QTBASE_JA)
  install(FILES ${ORBILO_QTBASE_JA} DESTINATION ${ORBILO_INSTALL_BINDIR}/translations)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${ORBILO_INSTALL_BINDIR} RENAME LICENSE.txt)

set(CPACK_PACKAGE_NAME Orbilo)
set(CPACK_PACKAGE_VENDOR "The Orbilo developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tile puzzle on the five elements")
set(CPACK_PACKAGE_FILE_NAME Orbilo-${PROJECT_VERSION}-win64-setup)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Orbilo)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_GENERATOR NSIS)
# Our own installer script (packaging/NSIS.template.in): a choice between installing for
# everyone (Program Files, needs an administrator) and for the current user alone, which
# CMake's stock script does not offer.
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
set(CPACK_NSIS_MUI_ICON ${CMAKE_SOURCE_DIR}/resources/icons/orbilo.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_SOURCE_DIR}/resources/icons/orbilo.ico)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
include(CPack)
