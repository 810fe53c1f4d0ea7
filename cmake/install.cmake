# What `cmake --install` puts where (GNUInstallDirs), and the Debian packages
# that CPack makes of it (`make deb`):
#   yishu      telecode and its manual page (component runtime; with
#              BUILD_SHARED_LIBS=ON also the shared library)
#   yishu-dev  the header, the library, the CMake package and the pkg-config
#              file (component dev)
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(cmake_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/yishu)

install(TARGETS yishu_core EXPORT yishuTargets
        RUNTIME COMPONENT runtime
        LIBRARY COMPONENT runtime NAMELINK_COMPONENT dev
        ARCHIVE COMPONENT dev
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES core/include/yishu/yishu.h core/include/yishu/yishu_c.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/yishu COMPONENT dev)
install(EXPORT yishuTargets NAMESPACE yishu::
        DESTINATION ${cmake_package_dir} COMPONENT dev)
configure_package_config_file(cmake/yishuConfig.cmake.in yishuConfig.cmake
                              INSTALL_DESTINATION ${cmake_package_dir})
# Before 1.0 a new minor version may change the interface, as the SONAME says.
write_basic_package_version_file(yishuConfigVersion.cmake COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/yishuConfig.cmake ${PROJECT_BINARY_DIR}/yishuConfigVersion.cmake
        DESTINATION ${cmake_package_dir} COMPONENT dev)

# The pkg-config file finds the prefix from where it lies, so that the tree can
# be installed anywhere (cmake --install --prefix, DESTDIR, a package).
file(RELATIVE_PATH pc_prefix_from_pcfiledir
     /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
set(pc_cflags "")
if(BUILD_SHARED_LIBS AND WIN32)
  set(pc_cflags " -DYISHU_SHARED")
endif()
string(REGEX REPLACE "/$" "" pc_prefix_from_pcfiledir ${pc_prefix_from_pcfiledir})
configure_file(cmake/yishu.pc.in yishu.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/yishu.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)

if(TARGET telecode)
  install(TARGETS telecode RUNTIME COMPONENT runtime)
endif()
if(TARGET telecode_man)
  install(FILES ${PROJECT_BINARY_DIR}/cli/telecode.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT runtime)
endif()

# Debian wants the licence as /usr/share/doc/PACKAGE/copyright in each package;
# a plain install leaves it out (EXCLUDE_FROM_ALL: packages only).
foreach(component_package runtime:yishu dev:yishu-dev)
  string(REPLACE ":" ";" pair ${component_package})
  list(GET pair 0 component)
  list(GET pair 1 package)
  install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package}
          RENAME copyright COMPONENT ${component} EXCLUDE_FROM_ALL)
endforeach()

set(CPACK_PACKAGE_NAME yishu)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
set(CPACK_PACKAGE_VENDOR "the yishu developers")
set(CPACK_PACKAGE_CONTACT "the yishu developers" CACHE STRING "Maintainer of the Debian packages")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME yishu)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION utils)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
    "converter between Chinese telegraph codes and Chinese characters
telecode converts files and pipelines between Chinese characters and
four-digit Chinese telegraph codes (0022 = 中, 2429 = 文), in UTF-8, CP936
(GBK), GB18030 or UTF-16, in constant memory. Text without a code passes
through unchanged, byte for byte.")
set(CPACK_DEBIAN_DEV_PACKAGE_NAME yishu-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEV_DESCRIPTION
    "C++ library converting Chinese telegraph codes and characters
yishu converts whole or streamed texts between Chinese characters and
four-digit Chinese telegraph codes, in CP936, UTF-8 or UTF-16. This package
holds the C++20 header, the library, a CMake package (find_package(yishu),
target yishu::core) and a pkg-config file (yishu).")
if(BUILD_SHARED_LIBS)
  # The shared library comes with telecode; its header and link need it.
  set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "yishu (= ${CPACK_PACKAGE_VERSION})")
endif()
include(CPack)
