# Installing: the program, the libraries with their headers, an exported CMake package
# (find_package(Kestrel) → Kestrel::<library>), pkg-config files, the program's data, and the
# desktop integration files. Included last, when every library target exists.
include(CMakePackageConfigHelpers)

set(KESTREL_CMAKE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/Kestrel")

get_property(kestrel_libraries GLOBAL PROPERTY KESTREL_INSTALLED_LIBRARIES)
list(APPEND kestrel_libraries kestrel_platform)
set_target_properties(kestrel_platform PROPERTIES EXPORT_NAME platform)
install(TARGETS ${kestrel_libraries} EXPORT KestrelTargets
        ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT development
        INCLUDES DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/kestrel")

get_property(kestrel_header_folders GLOBAL PROPERTY KESTREL_HEADER_FOLDERS)
list(REMOVE_DUPLICATES kestrel_header_folders)
foreach(folder ${kestrel_header_folders})
  file(GLOB headers "${PROJECT_SOURCE_DIR}/${folder}/*.h")
  if(headers)
    install(FILES ${headers} DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/kestrel/${folder}" COMPONENT development)
  endif()
endforeach()

install(EXPORT KestrelTargets NAMESPACE Kestrel:: DESTINATION "${KESTREL_CMAKE_DIR}" COMPONENT development)
configure_package_config_file("${PROJECT_SOURCE_DIR}/cmake/KestrelConfig.cmake.in"
  "${PROJECT_BINARY_DIR}/KestrelConfig.cmake" INSTALL_DESTINATION "${KESTREL_CMAKE_DIR}")
write_basic_package_version_file("${PROJECT_BINARY_DIR}/KestrelConfigVersion.cmake"
  COMPATIBILITY SameMinorVersion)
install(FILES "${PROJECT_BINARY_DIR}/KestrelConfig.cmake" "${PROJECT_BINARY_DIR}/KestrelConfigVersion.cmake"
              "${PROJECT_SOURCE_DIR}/cmake/Dependencies.cmake"
        DESTINATION "${KESTREL_CMAKE_DIR}" COMPONENT development)

# pkg-config: one file for the whole library, static archives listed top layer first.
set(kestrel_pc_libs "")
list(REVERSE kestrel_libraries)
foreach(library ${kestrel_libraries})
  get_target_property(type ${library} TYPE)
  if(type STREQUAL "STATIC_LIBRARY")
    string(APPEND kestrel_pc_libs " -l${library}")
  endif()
endforeach()
configure_file("${PROJECT_SOURCE_DIR}/cmake/kestrel.pc.in" "${PROJECT_BINARY_DIR}/kestrel.pc" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/kestrel.pc" DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig" COMPONENT development)

# The program and the library both need the data (fonts configuration, fixed-metric font).
install(DIRECTORY "${PROJECT_SOURCE_DIR}/data/" DESTINATION "${CMAKE_INSTALL_DATADIR}/kestrel"
        COMPONENT runtime PATTERN "*.py" EXCLUDE)

if(TARGET kestrel)
  install(TARGETS kestrel RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT runtime)
endif()
if(KESTREL_INSTALL_GALLERY AND TARGET kestrel-gallery)
  install(TARGETS kestrel-gallery RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT runtime)
endif()

include("${PROJECT_SOURCE_DIR}/packaging/Packaging.cmake" OPTIONAL)
