# A Debian package of the installed program: `cpack -G DEB` in a build directory.
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "Quorvane")
set(CPACK_PACKAGE_CONTACT "Quorvane developers <quorvane@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Exact desktop calculator for the equation of state of solids")
# Lines of at most 80 characters, as Debian's package description wants them.
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvane moves between the pressure, volume and temperature of a solid with\n\
the Murnaghan, Birch-Murnaghan, Vinet and natural-strain equations of state at\n\
2nd, 3rd and 4th order and a thermal model with a temperature-dependent bulk\n\
modulus.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The programs as a distribution ships them: stripped, in directories and
# files that only root may change.
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps names the C++ run-time and the Qt 6 libraries the programs
# link; on Debian 12 the X11 platform plugin ships in libqt6gui6 among them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The face whose letters match the form's dialog-unit proportions best.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation2)

# The package holds the programs only: the Python module (install component
# python) is installed by cmake --install, for the Python it was built for.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};Unspecified;/")

include(CPack)
