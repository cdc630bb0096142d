# Desktop integration, install rules and the Debian package of cocomo-wizard.
#   cmake --install build --prefix DIR     installs the programs, the menu entry, icon and
#                                          metainfo, and cocomo-estimate's manual page
#   cmake --build build --target package   builds build/cocomo-wizard_<version>_<arch>.deb
include(GNUInstallDirs)

find_package(Qt6 REQUIRED COMPONENTS Core)
target_compile_definitions(cocomo-wizard PRIVATE COCOMO_APP_ID="${COCOMO_APP_ID}")

install(TARGETS cocomo-wizard cocomo-estimate RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_BINARY_DIR}/cli/cocomo-estimate.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${COCOMO_DATA_DIR}/${COCOMO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${COCOMO_DATA_DIR}/${COCOMO_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${COCOMO_DATA_DIR}/${COCOMO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${COCOMO_DATA_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/cocomo-wizard)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cocomo-wizard)
set(CPACK_PACKAGE_VENDOR "The COCOMO Estimation Wizard developers")
set(CPACK_PACKAGE_CONTACT "The COCOMO Estimation Wizard developers <cocomo-wizard@example.org>"
    CACHE STRING "Maintainer of the Debian package: name <address>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "A desktop wizard that estimates the effort in staff-months, the development\n"
       "time in months and the average staffing of a software project with the Basic,\n"
       "Intermediate or Advanced COCOMO 81 model, from the size of the delivered code,\n"
       "the project's development mode and, for the Intermediate and Advanced models,\n"
       "the ratings of fifteen cost drivers or the project-size column of each\n"
       "development phase.\n"
       "\n"
       "The package also holds cocomo-estimate, which gives the same estimate from\n"
       "the command line, for scripts and CI jobs: from a line count or the JSON\n"
       "report of cloc or scc, as text, JSON or CSV.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the libraries' dependencies do not bring: the X11 platform plugin and the font that
# stands in for the layouts' Windows fonts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
include(CPack)
