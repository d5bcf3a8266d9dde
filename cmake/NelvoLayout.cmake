# Where the installed files go (GNUInstallDirs: lib/<multiarch> under /usr on Debian), and
# the generated header that tells the programs their version and where their module is.
include(GNUInstallDirs)

# The module and our private shared libraries share one folder.
set(NELVO_PRIVATE_LIBDIR ${CMAKE_INSTALL_LIBDIR}/nelvo)
set(NELVO_CMAKE_CONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/NelvoModule)
file(RELATIVE_PATH NELVO_PRIVATE_LIBDIR_FROM_BINDIR
  ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${NELVO_PRIVATE_LIBDIR})

configure_file(${CMAKE_CURRENT_LIST_DIR}/NelvoBuildInfo.h.in
  ${CMAKE_BINARY_DIR}/generated/NelvoBuildInfo.h @ONLY)
add_library(nelvo_build_info INTERFACE)
target_include_directories(nelvo_build_info INTERFACE ${CMAKE_BINARY_DIR}/generated)
