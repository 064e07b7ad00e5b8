# Desktop integration files and the Debian package (cpack -G DEB from the build folder).
set(KESTREL_APP_ID "net.kestrel.Kestrel")
set(packaging "${PROJECT_SOURCE_DIR}/packaging")

install(FILES "${packaging}/${KESTREL_APP_ID}.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications" COMPONENT runtime)
install(FILES "${packaging}/${KESTREL_APP_ID}.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo" COMPONENT runtime)
install(FILES "${packaging}/${KESTREL_APP_ID}.svg"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps" COMPONENT runtime)
foreach(size 16 32 48 64 128 256)
  install(FILES "${packaging}/icons/${size}/${KESTREL_APP_ID}.png"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps" COMPONENT runtime)
endforeach()

set(CPACK_PACKAGE_NAME "kestrel")
set(CPACK_PACKAGE_VENDOR "Kestrel")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Download assistant: fetches a product's installer and starts it")
set(CPACK_PACKAGE_CONTACT "Kestrel developers <kestrel@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION "net")
set(CPACK_STRIP_FILES ON)
# With one package a component, its settings carry the component's name.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "xdg-utils, fonts-dejavu-core, fonts-liberation2")
set(CPACK_GENERATOR "DEB")
# The package carries the program and its desktop files; the library is for `cmake --install`.
set(CPACK_COMPONENTS_ALL runtime)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME "kestrel")
set(CPACK_DEBIAN_RUNTIME_FILE_NAME DEB-DEFAULT)
include(CPack)

# The files a desktop reads are checked by the desktop's own validators.
if(KESTREL_BUILD_TESTS)
  find_program(KESTREL_APPSTREAMCLI appstreamcli)
  find_program(KESTREL_DESKTOP_FILE_VALIDATE desktop-file-validate)
  if(KESTREL_APPSTREAMCLI)
    add_test(NAME packaging_metainfo_valid
             COMMAND ${KESTREL_APPSTREAMCLI} validate --no-net "${packaging}/${KESTREL_APP_ID}.metainfo.xml")
    set_tests_properties(packaging_metainfo_valid PROPERTIES LABELS packaging)
  endif()
  if(KESTREL_DESKTOP_FILE_VALIDATE)
    add_test(NAME packaging_desktop_file_valid
             COMMAND ${KESTREL_DESKTOP_FILE_VALIDATE} "${packaging}/${KESTREL_APP_ID}.desktop")
    set_tests_properties(packaging_desktop_file_valid PROPERTIES LABELS packaging)
  endif()
  # Install into a fresh prefix, then build and run a project that finds Kestrel there.
  add_test(NAME packaging_consumer_project
           COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR} -DSOURCE_DIR=${packaging}/consumer
                   -DGENERATOR=${CMAKE_GENERATOR}
                   -DSANITIZE=${KESTREL_SANITIZE} -P ${packaging}/TestConsumer.cmake)
  set_tests_properties(packaging_consumer_project PROPERTIES LABELS "packaging;slow" TIMEOUT 600
                       RUN_SERIAL ON)
endif()
