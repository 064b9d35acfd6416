# The Debian package: `cpack -G DEB` in a Release build (scripts/package). Its dependencies are
# computed from the executable (dpkg-shlibdeps), plus the font the window's labels are measured in;
# it recommends Qt's translations, which put Qt's own texts (the file dialog, the context menus) in
# the user's language.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME metopt)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The metopt developers")
set(CPACK_PACKAGE_CONTACT "${METOPT_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "steepest descent over a height map, for teaching")
set(CPACK_PACKAGE_DESCRIPTION [=[
metopt («Методы оптимизации») is a one-window teaching tool for a course
on optimisation methods. A student picks one of three functions
z = f(x, y), sets a start point and the search parameters, and watches
steepest descent find a minimum over a ten-colour height map or a
gradient fill, with level lines, a grid with axes and numbers, an
animated trace, a live colour editor and a text report of every step.
Every number is an 80-bit extended real.
.
From the command line (metopt --batch) it makes the same pictures,
reports and trace tables for handouts and slides.]=])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${METOPT_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
# The package installs where the build was configured to (scripts/package: /usr), so the paths
# written into the menu entry and the manual page are the installed ones.
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
include(CPack)
