# Debian packages of the installed build: `cpack -G DEB` in a build directory
# makes quorvane (the programs) and, where the Python module is built,
# python3-quorvane.
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "Quorvane")
set(CPACK_PACKAGE_CONTACT "Quorvane developers <quorvane@users.noreply.github.com>")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The programs as a distribution ships them: stripped, in directories and
# files that only root may change.
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps names the C++ run-time and the Qt 6 libraries the programs
# link; on Debian 12 the X11 platform plugin ships in libqt6gui6 among them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# Each package's description starts with its own summary line, so the common
# summary (which CPack would put before every one) is left unset. Lines of at
# most 80 characters, as Debian's package description wants them.
set(CPACK_COMPONENTS_ALL Unspecified)
set(CPACK_DEBIAN_UNSPECIFIED_PACKAGE_NAME quorvane)
set(CPACK_DEBIAN_UNSPECIFIED_PACKAGE_SECTION science)
set(CPACK_DEBIAN_UNSPECIFIED_DESCRIPTION
    "Exact desktop calculator for the equation of state of solids\n\
Quorvane moves between the pressure, volume and temperature of a solid with\n\
the Murnaghan, Birch-Murnaghan, Vinet and natural-strain equations of state at\n\
2nd, 3rd and 4th order and a thermal model with a temperature-dependent bulk\n\
modulus.")
# The face whose letters match the form's dialog-unit proportions best.
set(CPACK_DEBIAN_UNSPECIFIED_PACKAGE_RECOMMENDS fonts-liberation2)

# The Python module in Debian's folder for Python packages, for the
# interpreter version it was built for (component python_debian, see
# python/CMakeLists.txt). Component python, the module for cmake --install,
# stays out of the packages.
if(TARGET quorvane_python_core)
  list(APPEND CPACK_COMPONENTS_ALL python_debian)
  set(CPACK_DEBIAN_PYTHON_DEBIAN_PACKAGE_NAME python3-quorvane)
  set(CPACK_DEBIAN_PYTHON_DEBIAN_PACKAGE_SECTION python)
  string(REGEX REPLACE "^([0-9]+)\\.([0-9]+)$" "\\2" python_minor ${QUORVANE_PYTHON_VERSION})
  math(EXPR python_next_minor "${python_minor} + 1")
  string(REGEX REPLACE "[0-9]+$" "${python_next_minor}" python_next ${QUORVANE_PYTHON_VERSION})
  set(CPACK_DEBIAN_PYTHON_DEBIAN_PACKAGE_DEPENDS
      "python3 (>= ${QUORVANE_PYTHON_VERSION}), python3 (<< ${python_next}), python3-numpy")
  set(CPACK_DEBIAN_PYTHON_DEBIAN_DESCRIPTION
      "Python module of the Quorvane equation-of-state calculator\n\
The quorvane module computes pressures, volumes, bulk moduli and whole state\n\
points of solids over NumPy arrays with the equations of state of Quorvane and\n\
its command-line companion quorvane-eos, reads and writes their parameter\n\
files, and fits equations of state to measured pressure-volume-temperature\n\
data.")
endif()

include(CPack)
