# The Windows download: a ZIP of the two programs with the README and the
# licence, `cpack` in the windows build directory. Both programs are single
# files that need only Windows' own DLLs, so nothing is installed.
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
              ${PROJECT_SOURCE_DIR}/docs/windows.md
        DESTINATION .)
# The workbench as a page, beside the programs, where the wasm preset has
# written it: Windows has no Qt workbench, every browser opens this.
install(FILES ${PROJECT_SOURCE_DIR}/build/wasm/web/quorvane-workbench.html DESTINATION . OPTIONAL)

set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "Quorvane")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Exact desktop calculator for the equation of state of solids")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR ZIP)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_FILE_NAME quorvane-${PROJECT_VERSION}-windows-x86_64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
