# What an integrator gets: three install components, which the Debian packages follow.
#   runtime  the shared objects a host loads (with their SONAME links) and the resource directory
#   dev      the C headers, the CMake package (visualization::visualization) and visualization.pc
#   tools    vizhost and vizgallery, with their heavier dependencies
include(CMakePackageConfigHelpers)

# With the board's log library there is no stand-in to install: its target only names that library.
set(VIZ_VERSIONED_LIBRARIES ${VIZ_INSTALLED_LIBRARIES})
set(VIZ_PC_PLATFORM_LIBS "")
set(VIZ_PLATFORM_HEADER "")
if(NOT VIZ_LOG_LIBRARY)
  list(APPEND VIZ_VERSIONED_LIBRARIES visualization-platform)
  set(VIZ_PC_PLATFORM_LIBS "-lvisualization-platform")
  set(VIZ_PLATFORM_HEADER platform/platform.h)
endif()
foreach(library IN LISTS VIZ_VERSIONED_LIBRARIES)
  set_target_properties(${library} PROPERTIES
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR})
endforeach()
set_target_properties(visualization-platform PROPERTIES EXPORT_NAME platform)

# A host that calls the ten functions also calls the stand-in (its log sink, its clock seam),
# and always makes the EGL context with OpenGL ES 3 that the library draws into.
foreach(library IN LISTS VIZ_INSTALLED_LIBRARIES)
  set_target_properties(${library} PROPERTIES INSTALL_RPATH "$ORIGIN")
  target_include_directories(${library} INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  target_link_libraries(${library} INTERFACE visualization-platform
    $<INSTALL_INTERFACE:PkgConfig::visualization_gl>)
endforeach()

install(TARGETS ${VIZ_INSTALLED_LIBRARIES} visualization-platform
  EXPORT visualizationTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev)
install(DIRECTORY res/ DESTINATION ${VIZ_INSTALL_RESOURCE_DIR} COMPONENT runtime)

install(FILES
  inc/visualization/library.h
  inc/visualization/library_types.h
  ${VIZ_PLATFORM_HEADER}
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/visualization COMPONENT dev)
install(EXPORT visualizationTargets NAMESPACE visualization::
  DESTINATION ${VIZ_INSTALL_CMAKE_DIR} COMPONENT dev)
configure_package_config_file(cmake/visualizationConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/visualizationConfig.cmake
  INSTALL_DESTINATION ${VIZ_INSTALL_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/visualizationConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${CMAKE_CURRENT_BINARY_DIR}/visualizationConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/visualizationConfigVersion.cmake
  DESTINATION ${VIZ_INSTALL_CMAKE_DIR} COMPONENT dev)
# pkg-config wants the literal prefix (it drops /usr paths as the system's, not relative ones),
# and the prefix is only known when installing: `cmake --install --prefix` may change it.
set(VIZ_PC_PREFIX "@VIZ_PC_PREFIX@")
configure_file(cmake/visualization.pc.in ${CMAKE_CURRENT_BINARY_DIR}/visualization.pc.in @ONLY)
install(CODE "set(VIZ_PC_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
  configure_file(${CMAKE_CURRENT_BINARY_DIR}/visualization.pc.in
    ${CMAKE_CURRENT_BINARY_DIR}/visualization.pc @ONLY)" COMPONENT dev)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/visualization.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)

if(TARGET vizhost)
  set_target_properties(vizhost vizgallery PROPERTIES INSTALL_RPATH "$ORIGIN/${VIZ_BIN_TO_LIB}")
  install(TARGETS vizhost vizgallery RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tools)
endif()
# The diagnostic library is a tool for looking at what the library hears (vizhost --analyzer
# loads it by its SONAME); hosts never link it, so it has no link name and no package of its own.
if(TARGET visualization-diagnostics)
  set_target_properties(visualization-diagnostics PROPERTIES
    VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR} INSTALL_RPATH "$ORIGIN")
  install(TARGETS visualization-diagnostics
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT tools NAMELINK_SKIP)
endif()

# Debian packages, one per component: `make package` writes them to out/.
# Every package carries a copyright file: the code's licence, and the terms of the photographs
# and the font, from the CREDITS beside them. (The demo song vizhost plays is made by its code.)
file(READ LICENSE VIZ_LICENSE_TEXT)
file(READ res/images/kaleidoscope_default/CREDITS VIZ_PHOTOGRAPH_CREDITS)
file(READ res/fonts/CREDITS VIZ_FONT_CREDITS)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/copyright
  "The visualization library, its host programs and tools, and their resource files.\n\n"
  "Everything but the files named below: the MIT licence.\n\n${VIZ_LICENSE_TEXT}\n"
  "----------------------------------------------------------------------------------------\n"
  "share/visualization/res/images/kaleidoscope_default/*\n\n${VIZ_PHOTOGRAPH_CREDITS}\n"
  "----------------------------------------------------------------------------------------\n"
  "share/visualization/res/fonts/replica/*\n\n${VIZ_FONT_CREDITS}")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/libvisualization${PROJECT_VERSION_MAJOR}
  COMPONENT runtime)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/libvisualization-dev COMPONENT dev)
if(TARGET vizhost)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/visualization-tools COMPONENT tools)
endif()
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME visualization)
set(CPACK_PACKAGE_CONTACT "The visualization maintainers <maintainers@visualization.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Stages with DESTDIR, so that the install sees /usr as its prefix (visualization.pc records it).
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_SOURCE_DIR}/out)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev tools)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A shlibs file for the packages that hold shared objects (the runtime package alone).
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
# The tools link the platform stand-in of the runtime package; dpkg-shlibdeps finds it here and
# the dependency on that package is stated between the components.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR})
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_COMPONENT_DEV_DEPENDS runtime)
set(CPACK_COMPONENT_TOOLS_DEPENDS runtime)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libvisualization${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION
  "music visualisation for televisions - shared library\n\
The library draws sound-reactive animation into the OpenGL ES 3.0 context of a TV host that \
feeds it band levels, sound classes, track changes and screen rotations through ten C \
functions. This package holds the shared object, the platform stand-in it logs through and \
the resource directory.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME libvisualization-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
# visualization.pc requires egl and glesv2.
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "libegl-dev, libgles-dev")
set(CPACK_DEBIAN_DEV_DESCRIPTION
  "music visualisation for televisions - development files\n\
The C headers of the ten functions and of the values a host passes, the CMake package \
(visualization::visualization) and the pkg-config file (visualization).")

set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME visualization-tools)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION graphics)
# vizhost writes videos through the ffmpeg program; PNG frames need nothing more.
set(CPACK_DEBIAN_TOOLS_PACKAGE_RECOMMENDS ffmpeg)
set(CPACK_DEBIAN_TOOLS_DESCRIPTION
  "music visualisation for televisions - reference host and gallery\n\
vizhost renders music files or its built-in demo song through the library to video, PNG \
frames or a window; vizgallery writes contact sheets of the modes.")

include(CPack)
