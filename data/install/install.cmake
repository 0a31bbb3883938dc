# Installation (cmake --install, make install): the program folder <prefix>/lib/fondaris holds
# the program, its modules (the interactive program, the filling of application forms) and every
# product data file, since the program reads them beside itself; <prefix>/bin/fondaris links to
# it, and a menu entry with its icon shows it in the desktop's menu. Users cannot write the
# program folder: their own files then go to $XDG_DATA_HOME/fondaris (core/settings).
include(GNUInstallDirs)
set(FONDARIS_PROGRAM_FOLDER ${CMAKE_INSTALL_LIBDIR}/fondaris)

install(TARGETS fondaris RUNTIME DESTINATION ${FONDARIS_PROGRAM_FOLDER})
if(TARGET fondaris-gui)
  install(TARGETS fondaris-gui LIBRARY DESTINATION ${FONDARIS_PROGRAM_FOLDER})
endif()
install(TARGETS fondaris-formfilling LIBRARY DESTINATION ${FONDARIS_PROGRAM_FOLDER})

# Every file the sample product data name, as built beside the program.
install(FILES ${CMAKE_BINARY_DIR}/Param.dat DESTINATION ${FONDARIS_PROGRAM_FOLDER})
file(STRINGS ${FONDARIS_DATA_DIR}/param.txt named_lines REGEX "^[^#]*= *\"[^\"]+\\.[A-Za-z]+\"")
set(FONDARIS_PRODUCT_FILES)
foreach(line ${named_lines})
  string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*" "\\1" name "${line}")
  list(APPEND FONDARIS_PRODUCT_FILES ${CMAKE_BINARY_DIR}/${name})
endforeach()
list(REMOVE_DUPLICATES FONDARIS_PRODUCT_FILES)
install(FILES ${FONDARIS_PRODUCT_FILES} DESTINATION ${FONDARIS_PROGRAM_FOLDER})

# The launcher: a relative link, so the installed tree can move with its prefix.
file(RELATIVE_PATH launcher_target /p/${CMAKE_INSTALL_BINDIR} /p/${FONDARIS_PROGRAM_FOLDER}/fondaris)
install(CODE "
  set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(MAKE_DIRECTORY \"\${bin}\")
  file(REMOVE \"\${bin}/fondaris\")
  file(CREATE_LINK \"${launcher_target}\" \"\${bin}/fondaris\" SYMBOLIC)
  message(STATUS \"Installing: \${bin}/fondaris -> ${launcher_target}\")
  set(FONDARIS_LAUNCHER \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/fondaris\")
  configure_file(\"${CMAKE_CURRENT_LIST_DIR}/fondaris.desktop.in\"
                 \"${CMAKE_BINARY_DIR}/install/fondaris.desktop\" @ONLY)
")
install(FILES ${CMAKE_BINARY_DIR}/install/fondaris.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/fondaris.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
