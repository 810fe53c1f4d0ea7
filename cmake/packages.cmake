# The Debian packages that CPack makes of the install components (`make deb`):
#   yishu      component runtime: telecode and its manual page
#   yishu-dev  component dev: the header, the library, the CMake package and
#              the pkg-config file
# Only for yishu built on its own: CPack writes CPackConfig.cmake into the
# top of the build, which in a parent's build is the parent's.

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
