# Debian packages (cpack -G DEB, run by tools/package.sh on a build configured for /usr):
#   nelvo      the shell, nelvo-admin, the module and its libraries, desktop entry, manuals
#   nelvo-dev  headers and CMake package config for shells that load the module
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nelvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Nelvo developers")
set(CPACK_PACKAGE_CONTACT "Nelvo developers <packages@nelvo.example>")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev)
set(CPACK_STRIP_FILES ON)
set(CPACK_THREADS 0)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://nelvo.example/")
# dpkg-shlibdeps finds our private libraries inside the package through their $ORIGIN
# RUNPATH and depends only on the system's.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME nelvo)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION misc)
# Each description: the synopsis, then the long text (CPack indents it; an empty line
# separates paragraphs).
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION
 "warehouse area archives and storage-area mapping
A back-office shell for warehouses in retail and distribution with its area
module: it keeps the warehouse's pick, put-away and pick-management areas and
maps storage areas to each of them. It works on an embedded SQLite database
or on a shared PostgreSQL server.

The package also holds nelvo-admin, which imports and exports the areas,
storage areas and mappings as CSV, lists the audit trail and carries the
accounting period forward.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME nelvo-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "nelvo (= ${PROJECT_VERSION}), qt6-base-dev (>= 6.4)")
set(CPACK_DEBIAN_DEV_DESCRIPTION
 "development files for shells that load the nelvo area module
The public header of the area module's entry, the platform headers it names
(values, dispatch objects, data packets, window messages and the data
server's dispatch ids) and a CMake package config: find_package(NelvoModule)
gives imported targets for the platform libraries and the module.")

include(CPack)
