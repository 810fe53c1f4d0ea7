# What `cmake --install` puts where (GNUInstallDirs), in two components:
#   runtime  telecode and its manual page (with BUILD_SHARED_LIBS=ON also the
#            shared library)
#   dev      the header, the library, the CMake package and the pkg-config file
# cmake/packages.cmake makes a Debian package of each.
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
