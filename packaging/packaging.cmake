# Installation and the Debian package: the tool, the launcher that starts it in the user's
# own folder, the desktop entry, the icons and the AppStream metainfo.
#   cmake --install build [--prefix DIR]
#   cd build && cpack -G DEB        -> moduletool_<version>_<arch>.deb
# Both take the tool as built (scripts/build.sh --target moduletool is enough); they do
# not build the tests and benchmarks first.
include(GNUInstallDirs)
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(TOOL_APP_ID org.moduletool.optimizer)
set(TOOL_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)

install(TARGETS moduletool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(PROGRAMS ${TOOL_PACKAGING_DIR}/moduletool-launcher DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${TOOL_PACKAGING_DIR}/${TOOL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TOOL_PACKAGING_DIR}/${TOOL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${TOOL_PACKAGING_DIR}/moduletool.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# Rendered from the SVG by packaging/render-icon.sh.
install(FILES ${TOOL_PACKAGING_DIR}/moduletool.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME moduletool)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Service tool for an engine-management add-on module")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "moduletool maintainers <moduletool@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Connects to the module over a serial port, changes its settings and operating modes,\n\
reads and writes its correction tables and Lambda emulation curves, and records live\n\
engine data. Russian and English interface.")
# The libraries the binary links come from dpkg-shlibdeps; the window also needs Qt's
# platform plugins, which no library names.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The surface labels use Liberation Sans; the surface view renders with Mesa without a
# graphics driver of its own.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, libgl1-mesa-dri")
include(CPack)

# The package's contents, and the launcher with a scratch home.
add_test(NAME package_contents
         COMMAND ${CMAKE_SOURCE_DIR}/tests/packaging/check_package.sh ${CMAKE_BINARY_DIR})
add_test(NAME package_launcher
         COMMAND ${CMAKE_SOURCE_DIR}/tests/packaging/check_launcher.sh
                 ${TOOL_PACKAGING_DIR}/moduletool-launcher $<TARGET_FILE:moduletool>)
set_tests_properties(package_contents package_launcher PROPERTIES TIMEOUT 300 ENVIRONMENT "LC_ALL=C.UTF-8")
