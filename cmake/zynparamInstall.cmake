# Installation in three components, and Debian packages made of them:
#   runtime      the shared library                 -> libzynparam0
#   development  headers, CMake package, pkg-config -> libzynparam-dev
#   tools        the zynparam command               -> zynparam
include(CMakePackageConfigHelpers)

install(TARGETS zynparam EXPORT zynparamTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
install(DIRECTORY zyn DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development
        FILES_MATCHING PATTERN "*.h" PATTERN "*_internal.h" EXCLUDE)

set(zyn_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/zynparam)
install(EXPORT zynparamTargets NAMESPACE zyn:: DESTINATION ${zyn_cmake_dir} COMPONENT development)
configure_package_config_file(cmake/zynparamConfig.cmake.in ${PROJECT_BINARY_DIR}/zynparamConfig.cmake
                              INSTALL_DESTINATION ${zyn_cmake_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/zynparamConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/zynparamConfig.cmake ${PROJECT_BINARY_DIR}/zynparamConfigVersion.cmake
        DESTINATION ${zyn_cmake_dir} COMPONENT development)

# pkg-config: the file finds its prefix from where it lies, so any install
# prefix works (cmake --install --prefix, or a relocated package).
set(zyn_pc_dir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH zyn_pc_to_prefix /prefix/${zyn_pc_dir} /prefix)
string(REGEX REPLACE "/$" "" zyn_pc_to_prefix "${zyn_pc_to_prefix}")
configure_file(cmake/zynparam.pc.in ${PROJECT_BINARY_DIR}/zynparam.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/zynparam.pc DESTINATION ${zyn_pc_dir} COMPONENT development)

# Debian packages: cpack -G DEB in the build directory.
if(NOT PROJECT_IS_TOP_LEVEL)
  return()
endif()
set(CPACK_PACKAGE_NAME zynparam)
set(CPACK_PACKAGE_VENDOR "zynparam developers")
set(CPACK_PACKAGE_CONTACT "zynparam developers <zynparam@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "typed, hierarchical parameter store with formulas")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_COMPONENTS_ALL runtime development tools)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The tool's dependency on the library is the component dependency below;
# dpkg-shlibdeps only has to find the library to read the rest.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libzynparam${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libzynparam-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME zynparam)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION utils)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "zynparam shared library")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "zynparam headers, CMake package and pkg-config file")
set(CPACK_COMPONENT_TOOLS_DESCRIPTION "zynparam command: shows, checks and changes saved parameter files")
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS runtime)
set(CPACK_COMPONENT_TOOLS_DEPENDS runtime)
include(CPack)
