# Installation as a desktop application, and the packages built from it:
# a Debian package on Linux (cpack -G DEB), a ZIP with Qt deployed beside the program on Windows.
if(WIN32)
  # A Windows program keeps what it loads beside it.
  set(CMAKE_INSTALL_BINDIR .)
endif()
include(GNUInstallDirs)
# Installing and packaging take what the build made; they do not build every test first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(velmo_programs velmo)
if(TARGET velmo-rtf)
  list(APPEND velmo_programs velmo-rtf)
endif()
install(TARGETS ${velmo_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(UNIX AND NOT APPLE)
  foreach(size 16 32 48 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/assets/icons/velmo-${size}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME velmo.png)
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/velmo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/velmo-mime.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME velmo.xml)
  # What software centres show; the screenshot is fetched from where Velmo is published.
  set(VELMO_HOMEPAGE "https://velmo.example.org" CACHE STRING "Where Velmo is published (metainfo homepage and screenshot)")
  configure_file(${PROJECT_SOURCE_DIR}/packaging/velmo.metainfo.xml.in
    ${PROJECT_BINARY_DIR}/org.velmo.Velmo.metainfo.xml @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/org.velmo.Velmo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  # Debian's machine-readable form; the licence's full text is LICENSE.
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velmo)
endif()

set(CPACK_PACKAGE_NAME velmo)
set(CPACK_PACKAGE_VENDOR "Velmo")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Simple, easy to use, RTF editor")
set(CPACK_PACKAGE_DESCRIPTION
  "Velmo edits one rich-text document at a time: bold, italic, underline, colours, sizes, alignment, \
picture symbols, step-by-step search and a spell check, saved as RTF.")
set(CPACK_PACKAGE_CONTACT "Velmo developers <velmo@localhost>")
set(CPACK_PACKAGE_EXECUTABLES velmo Velmo)
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR DEB)
endif()
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The spell check is useful only with a dictionary; the program runs without one.
# Metric-compatible faces of the fonts documents name most (Times New Roman,
# Arial, Courier New, Calibri, Cambria) keep documents' line breaks.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "hunspell-en-us, fonts-liberation2, fonts-crosextra-carlito, fonts-crosextra-caladea")
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsPackage.cmake)
endif()
include(CPack)

if(VELMO_TESTS AND CMAKE_SYSTEM_NAME STREQUAL "Linux")
  add_test(NAME package_deb
    COMMAND bash ${PROJECT_SOURCE_DIR}/packaging/check_package.sh ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/package-check
            $<IF:$<TARGET_EXISTS:velmo-rtf>,1,0>)
  # Run as a headless developer would: the check must give the program its own platform.
  set_tests_properties(package_deb PROPERTIES LABELS package RUN_SERIAL TRUE TIMEOUT 600
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endif()
