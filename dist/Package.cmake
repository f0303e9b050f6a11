# What the Debian package holds and how CPack makes it:
#   cmake --build --preset default --target package   (or scripts/package)
# The program and its tools go to /usr/bin, the shipped convert.cfg to /usr/share/mrv003e,
# with the desktop entry, the icon drawn by the program's own routine, the manual pages and
# the package's documentation, and the file types it opens. Included from the top folder, so CPack's "package" target is
# made there.
include(GNUInstallDirs)
find_package(Qt6 6.4 REQUIRED COMPONENTS Svg)
find_program(MRV_GZIP gzip REQUIRED)

set(dist_src ${CMAKE_CURRENT_LIST_DIR})
set(dist_out ${CMAKE_BINARY_DIR}/dist)
set(icon_sizes 48 64 128 256)

# The icons, drawn by the routine the window draws its own icon with.
add_executable(mrv-make-icon ${dist_src}/make-icon.cpp)
target_link_libraries(mrv-make-icon PRIVATE mrv_ui Qt6::Svg)
set_target_properties(mrv-make-icon PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${dist_out})
mrv_warnings(mrv-make-icon)
set(icon_files ${dist_out}/icons/mrv003e.svg)
foreach(size ${icon_sizes})
  list(APPEND icon_files ${dist_out}/icons/mrv003e-${size}.png)
endforeach()
# No display at build time; the sanitizer build's leak report of the font libraries is not
# the build's business.
add_custom_command(OUTPUT ${icon_files}
                   COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
                           $<TARGET_FILE:mrv-make-icon> ${dist_out}/icons
                   DEPENDS mrv-make-icon
                   COMMENT "Drawing the package's icons")

# Manual pages and the changelog, compressed as Debian wants them (gzip -9n: no name, no time).
set(gz_files)
foreach(page mrv003e mrvctl mrv-meter-sim)
  configure_file(${dist_src}/man/${page}.1 ${dist_out}/man/${page}.1 @ONLY)
  add_custom_command(OUTPUT ${dist_out}/man/${page}.1.gz
                     COMMAND ${MRV_GZIP} -9nf -k ${dist_out}/man/${page}.1
                     DEPENDS ${dist_out}/man/${page}.1)
  list(APPEND gz_files ${dist_out}/man/${page}.1.gz)
endforeach()
configure_file(${dist_src}/changelog.in ${dist_out}/doc/changelog @ONLY)
add_custom_command(OUTPUT ${dist_out}/doc/changelog.gz
                   COMMAND ${MRV_GZIP} -9nf -k ${dist_out}/doc/changelog
                   DEPENDS ${dist_out}/doc/changelog)
list(APPEND gz_files ${dist_out}/doc/changelog.gz)
add_custom_target(mrv_dist ALL DEPENDS ${icon_files} ${gz_files})

install(TARGETS mrv003e mrvctl mrv-meter-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/src/datafile/convert.cfg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mrv003e)
install(FILES ${dist_src}/mrv003e.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The types of the files the desktop entry opens; shared-mime-info's trigger takes them in.
install(FILES ${dist_src}/mrv003e-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME mrv003e.xml)
install(FILES ${dist_out}/icons/mrv003e.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size ${icon_sizes})
  install(FILES ${dist_out}/icons/mrv003e-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME mrv003e.png)
endforeach()
install(FILES ${dist_out}/man/mrv003e.1.gz ${dist_out}/man/mrvctl.1.gz
              ${dist_out}/man/mrv-meter-sim.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${dist_src}/copyright ${dist_out}/doc/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mrv003e)
set(CPACK_PACKAGE_VENDOR halvane)
set(CPACK_PACKAGE_CONTACT "mrv003e developers <mrv003e@halvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "install, program and read electricity meters")
set(CPACK_PACKAGE_DESCRIPTION
    "A desktop program for the staff who install, program and read electricity
meters. It talks to one meter at a time over an RS-485 line (Modbus RTU,
direct, through relays or a carrier module), tests meters on a bench, keeps
the installation's records (hand-held units, Blocks, meters) in an SQL
database, writes and reads the data files that the hand-held units carry,
imports their readings, converts them to dBase III and prints them.
.
mrvctl does the same work on the command line; mrv-meter-sim serves
simulated meters on a pseudo-terminal for training and trials.")
set(CPACK_STRIP_FILES TRUE)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link are found by dpkg-shlibdeps. The SQLite driver is a Qt
# plugin that nothing links, so it is named; so are the other database drivers, suggested.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
# The window in Chinese needs a face with the characters, and Qt's dialogs their translation.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libqt6sql6-psql, libqt6sql6-odbc")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
