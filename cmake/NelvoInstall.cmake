# Install rules. Two components: "runtime" (the programs, the module and what a desktop needs)
# and "dev" (what a shell author needs to load the module: the public header, the platform
# headers it names, and a CMake package config for the platform libraries).
#
# Every installed binary finds its libraries through a RUNPATH relative to itself ($ORIGIN),
# so nothing installed refers to the build folder.
include(CMakePackageConfigHelpers)

set_target_properties(nelvo-shell nelvo-admin PROPERTIES
  INSTALL_RPATH "$ORIGIN/${NELVO_PRIVATE_LIBDIR_FROM_BINDIR}")
set_target_properties(nelvo_platform_core nelvo_platform nelvo_area_module PROPERTIES
  INSTALL_RPATH "$ORIGIN")
set_target_properties(nelvo_platform_core PROPERTIES EXPORT_NAME PlatformCore)
set_target_properties(nelvo_platform PROPERTIES EXPORT_NAME Platform)
set_target_properties(nelvo_area_module PROPERTIES EXPORT_NAME AreaModule)

install(TARGETS nelvo-shell nelvo-admin
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
install(TARGETS nelvo_platform_core nelvo_platform nelvo_area_module
  EXPORT NelvoModuleTargets
  LIBRARY DESTINATION ${NELVO_PRIVATE_LIBDIR} COMPONENT runtime)

# The desktop entry, its icon, the AppStream metadata and the manual pages.
set(nelvo_app_id org.nelvo.Shell)
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
configure_file(${packaging}/${nelvo_app_id}.metainfo.xml.in
  ${CMAKE_BINARY_DIR}/packaging/${nelvo_app_id}.metainfo.xml @ONLY)
install(FILES ${packaging}/${nelvo_app_id}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT runtime)
install(FILES ${packaging}/${nelvo_app_id}.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT runtime)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${nelvo_app_id}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT runtime)

# Manual pages and the changelog go in compressed, the Debian way (gzip -9n: no name or time
# in the header, so the packages build the same twice).
find_program(NELVO_GZIP gzip REQUIRED)
function(nelvo_compressed source target)
  add_custom_command(OUTPUT ${target}
    COMMAND ${NELVO_GZIP} -9nc ${source} > ${target}
    DEPENDS ${source} VERBATIM)
endfunction()
set(compressed ${CMAKE_BINARY_DIR}/packaging/compressed)
file(MAKE_DIRECTORY ${compressed})
nelvo_compressed(${PROJECT_SOURCE_DIR}/shell/nelvo-shell.1 ${compressed}/nelvo-shell.1.gz)
nelvo_compressed(${PROJECT_SOURCE_DIR}/admin/nelvo-admin.1 ${compressed}/nelvo-admin.1.gz)
nelvo_compressed(${packaging}/changelog ${compressed}/changelog.gz)
nelvo_compressed(${PROJECT_SOURCE_DIR}/README.md ${compressed}/README.md.gz)
add_custom_target(nelvo_compressed_docs ALL DEPENDS
  ${compressed}/nelvo-shell.1.gz ${compressed}/nelvo-admin.1.gz ${compressed}/changelog.gz
  ${compressed}/README.md.gz)
install(FILES ${compressed}/nelvo-shell.1.gz ${compressed}/nelvo-admin.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT runtime)

# The changelog's newest entry names the version being built.
file(STRINGS ${packaging}/changelog changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^nelvo \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog has no entry for version ${PROJECT_VERSION} at the top")
endif()

# Each package carries its own copyright and changelog (Debian policy 12.5 and 12.7).
install(FILES ${packaging}/copyright ${compressed}/changelog.gz ${compressed}/README.md.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/nelvo COMPONENT runtime)
install(FILES ${packaging}/copyright ${compressed}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/nelvo-dev COMPONENT dev)

# For shell authors: the entry's header and the platform headers it and its server need.
install(FILES ${PROJECT_SOURCE_DIR}/include/nelvo/NelvoModule.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/nelvo COMPONENT dev)
set(public_platform_headers
  CoorDisp.h DataPacket.h Dispatch.h Error.h PacketRowReader.h PacketWriter.h PlatformExport.h
  TextCodec.h Variant.h Window.h)
list(TRANSFORM public_platform_headers PREPEND ${PROJECT_SOURCE_DIR}/src/platform/)
install(FILES ${public_platform_headers}
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/nelvo/platform COMPONENT dev)

install(EXPORT NelvoModuleTargets NAMESPACE NelvoModule::
  DESTINATION ${NELVO_CMAKE_CONFIG_DIR} COMPONENT dev)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/NelvoModuleConfig.cmake.in
  ${CMAKE_BINARY_DIR}/packaging/NelvoModuleConfig.cmake
  INSTALL_DESTINATION ${NELVO_CMAKE_CONFIG_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/packaging/NelvoModuleConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/packaging/NelvoModuleConfig.cmake
  ${CMAKE_BINARY_DIR}/packaging/NelvoModuleConfigVersion.cmake
  DESTINATION ${NELVO_CMAKE_CONFIG_DIR} COMPONENT dev)
