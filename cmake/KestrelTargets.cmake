# kestrel_library(<name> DIR <folder> [DEPS <targets...>])
# A static library from every .cpp below <folder> (not recursing into folders that are libraries
# of their own, which carry their own CMakeLists.txt). Includes are rooted at the source tree:
#   #include "platform/gdi/DeviceContext.h"
# <folder>/internal/ holds the pieces only the library's own sources use; its headers are not
# installed. The library and its public headers (<folder>/*.h) are installed and exported as
# Kestrel::<name without the kestrel_ prefix> (cmake/KestrelInstall.cmake).
function(kestrel_library name)
  cmake_parse_arguments(ARG "" "DIR" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${ARG_DIR}/*.cpp" "${ARG_DIR}/internal/*.cpp")
  set(scope PUBLIC)
  if(sources)
    add_library(${name} STATIC ${sources})
  else()
    # Headers only, so far.
    add_library(${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${name} ${scope}
    "$<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>"
    "$<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/kestrel>")
  target_link_libraries(${name} ${scope} ${ARG_DEPS})
  string(REGEX REPLACE "^kestrel_" "" exportName "${name}")
  set_target_properties(${name} PROPERTIES EXPORT_NAME "${exportName}")
  file(RELATIVE_PATH folder "${PROJECT_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}/${ARG_DIR}")
  set_property(GLOBAL APPEND PROPERTY KESTREL_INSTALLED_LIBRARIES ${name})
  set_property(GLOBAL APPEND PROPERTY KESTREL_HEADER_FOLDERS "${folder}")
endfunction()

# Whether any of the targets links `wanted`, directly or through its dependencies (which may
# name each other in a cycle).
function(kestrel_reaches out wanted)
  set(pending ${ARGN})
  set(seen)
  while(pending)
    list(POP_FRONT pending target)
    if(target STREQUAL wanted)
      set(${out} TRUE PARENT_SCOPE)
      return()
    endif()
    if(target IN_LIST seen OR NOT TARGET ${target})
      continue()
    endif()
    list(APPEND seen ${target})
    get_target_property(deps ${target} INTERFACE_LINK_LIBRARIES)
    if(deps)
      list(APPEND pending ${deps})
    endif()
  endwhile()
  set(${out} FALSE PARENT_SCOPE)
endfunction()

# kestrel_test_main(<out> <libraries...>): the main() object library a test program linking the
# libraries takes: one that installs the services object when they include its library, one that
# checks every test leaves the theme state as it found it when they include the theme engine.
function(kestrel_test_main out)
  kestrel_reaches(services kestrel_foundation ${ARGN})
  kestrel_reaches(themes kestrel_platform_theme ${ARGN})
  if(services)
    set(${out} kestrel_testmain_services PARENT_SCOPE)
  elseif(themes)
    set(${out} kestrel_testmain_themes PARENT_SCOPE)
  else()
    set(${out} kestrel_testmain PARENT_SCOPE)
  endif()
endfunction()

# kestrel_tests(<name> LABEL <label> DIR <folder> LIBS <targets...>)
# One GoogleTest executable from every .cpp in <folder>, registered with CTest under <label>.
function(kestrel_tests name)
  cmake_parse_arguments(ARG "" "LABEL;DIR" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${ARG_DIR}/*.cpp")
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  kestrel_test_main(main ${ARG_LIBS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} ${main} kestrel_testsupport GTest::gtest GTest::gmock)
  # Suites named EndToEnd need a program and environment that their folder registers them with.
  # Tests named for a golden image (…Golden…) also carry the label golden. Unit tests start in
  # the classic look (their pixel checks and goldens are of it); tests of the themed look switch
  # it on themselves.
  gtest_discover_tests(${name}
    TEST_FILTER "-EndToEnd.*:*Golden*"
    PROPERTIES LABELS "${ARG_LABEL}" ENVIRONMENT "KESTREL_THEME=classic"
    DISCOVERY_TIMEOUT 60
    WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}")
  gtest_discover_tests(${name}
    TEST_FILTER "*Golden*:-EndToEnd.*"
    PROPERTIES LABELS "${ARG_LABEL}" ENVIRONMENT "KESTREL_THEME=classic"
    DISCOVERY_TIMEOUT 60
    WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}")
  # Labels beyond the layer (golden, slow) are added by a file CTest reads after the discovered
  # tests.
  set(labeller "${CMAKE_CURRENT_BINARY_DIR}/${name}_labels.cmake")
  file(WRITE "${labeller}" "set(KESTREL_DISCOVERED_PREFIX \"${CMAKE_CURRENT_BINARY_DIR}/${name}\")
set(KESTREL_LAYER_LABEL \"${ARG_LABEL}\")
include(\"${PROJECT_SOURCE_DIR}/cmake/LabelDiscoveredTests.cmake\")
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${labeller}")
endfunction()
