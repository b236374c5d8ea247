# The Windows ZIP: one folder holding the programs and everything they load, so it runs
# where it is unpacked. Included from Install.cmake on Windows, before CPack.
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)

if(NOT MINGW)
  # Qt's own deployment (windeployqt) runs as part of the install step.
  if(Qt6_VERSION VERSION_GREATER_EQUAL 6.5)
    qt_generate_deploy_app_script(TARGET velmo OUTPUT_SCRIPT velmo_deploy_script NO_UNSUPPORTED_PLATFORM_ERROR)
  else()
    qt_generate_deploy_app_script(TARGET velmo FILENAME_VARIABLE velmo_deploy_script NO_UNSUPPORTED_PLATFORM_ERROR)
  endif()
  install(SCRIPT ${velmo_deploy_script})
else()
  # MinGW builds (the cross-build from Debian among them) have no windeployqt: the same
  # files are named here.
  foreach(module Core Gui Widgets PrintSupport)
    install(FILES $<TARGET_FILE:Qt6::${module}> DESTINATION ${CMAKE_INSTALL_BINDIR})
  endforeach()
  set(qt_plugins ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS})
  # The offscreen platform is velmo-rtf's: it converts without a display.
  install(FILES ${qt_plugins}/platforms/qwindows.dll ${qt_plugins}/platforms/qoffscreen.dll
    DESTINATION ${CMAKE_INSTALL_BINDIR}/platforms)
  install(DIRECTORY ${qt_plugins}/styles ${qt_plugins}/imageformats
    DESTINATION ${CMAKE_INSTALL_BINDIR} FILES_MATCHING PATTERN "*.dll")
  # Plugins beside the program, never the Qt the build machine had.
  file(WRITE ${CMAKE_BINARY_DIR}/qt.conf "[Paths]\nPrefix = .\nPlugins = .\n")
  install(FILES ${CMAKE_BINARY_DIR}/qt.conf DESTINATION ${CMAKE_INSTALL_BINDIR})

  foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
      OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${runtime_path}")
      message(FATAL_ERROR "The MinGW runtime ${runtime} was not found beside the compiler")
    endif()
    install(FILES ${runtime_path} DESTINATION ${CMAKE_INSTALL_BINDIR})
  endforeach()
  # The runtime and Qt DLLs come with their symbols, which only a debugger needs.
  install(CODE "
    set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(GLOB shipped \"\${bin}/*.dll\" \"\${bin}/platforms/*.dll\" \"\${bin}/styles/*.dll\" \"\${bin}/imageformats/*.dll\")
    foreach(dll \${shipped})
      execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \"\${dll}\")
    endforeach()")
endif()

# The licence travels with the programs; Windows opens a .txt file by a double click.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME LICENSE.txt)

# The spell check's English dictionary ships beside the program.
set(VELMO_DICTIONARY_DIR "" CACHE PATH "Folder holding en_US.aff and en_US.dic to ship with Velmo")
if(NOT VELMO_DICTIONARY_DIR AND CMAKE_HOST_UNIX AND EXISTS /usr/share/hunspell/en_US.dic)
  set(VELMO_DICTIONARY_DIR /usr/share/hunspell)
endif()
if(VELMO_DICTIONARY_DIR)
  install(FILES ${VELMO_DICTIONARY_DIR}/en_US.aff ${VELMO_DICTIONARY_DIR}/en_US.dic
    DESTINATION ${CMAKE_INSTALL_BINDIR}/dictionaries)
else()
  message(WARNING "No English dictionary to ship: set VELMO_DICTIONARY_DIR, or the spell check will find none")
endif()
