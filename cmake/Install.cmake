# Installing, as any Linux desktop program: `cmake --install build` puts the ready program folder
# (the executable and every content file the build makes) into <prefix>/lib/quillon2, with
# <prefix>/bin/quill a link to the executable, and the desktop's files under <prefix>/share: the menu
# entry, the icon in the hicolor sizes, the metainfo and the manual page. `cpack -G DEB` in the
# build folder makes the Debian package of the same, for the prefix /usr.

set(QUILL_PACKAGE_NAME quillon2)
set(QUILL_PACKAGE_PREFIX /usr)
set(QUILL_APP_ID org.example.quillon.quillon2)
set(QUILL_INSTALL_DIR lib/${QUILL_PACKAGE_NAME})
set(QUILL_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/desktop)
set(QUILL_INSTALL_GEN_DIR ${QUILL_GEN_DIR}/install)
file(MAKE_DIRECTORY ${QUILL_INSTALL_GEN_DIR})

install(TARGETS quill RUNTIME DESTINATION ${QUILL_INSTALL_DIR})
install(FILES ${QUILL_CONTENT_OUTPUTS} DESTINATION ${QUILL_INSTALL_DIR})

# The installed mark: each user's results go to the user's data folder, also for a user who may
# write to the program folder (the administrator), so that the folder stays as the package left it.
file(WRITE ${QUILL_INSTALL_GEN_DIR}/INSTALLED
     "This copy of the program was installed: each user's results are kept in the user's data folder.\n")
install(FILES ${QUILL_INSTALL_GEN_DIR}/INSTALLED DESTINATION ${QUILL_INSTALL_DIR})

# bin/quill: a relative link, so that it holds under any prefix and in the package's staging folder.
file(CREATE_LINK ../${QUILL_INSTALL_DIR}/quill ${QUILL_INSTALL_GEN_DIR}/quill SYMBOLIC)
install(FILES ${QUILL_INSTALL_GEN_DIR}/quill DESTINATION bin)

# The application icon, drawn from the symbols; PNG in the icon theme's usual sizes.
set(QUILL_ICON_SVG ${QUILL_INSTALL_GEN_DIR}/icons/${QUILL_APP_ID}.svg)
add_custom_command(
    OUTPUT ${QUILL_ICON_SVG}
    COMMAND ${QUILL_PYTHON} ${CMAKE_SOURCE_DIR}/tools/build_icon.py --source ${CMAKE_SOURCE_DIR} --out ${QUILL_ICON_SVG}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/build_icon.py ${CMAKE_SOURCE_DIR}/tools/pictures/symbol_svg.py
            ${CMAKE_SOURCE_DIR}/tools/pictures/isom_draw.py ${QUILL_SYMBOL_SOURCES}
    COMMENT "Drawing the application icon"
    VERBATIM)
set(QUILL_DESKTOP_OUTPUTS ${QUILL_ICON_SVG})
install(FILES ${QUILL_ICON_SVG} DESTINATION share/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
    set(png ${QUILL_INSTALL_GEN_DIR}/icons/${size}/${QUILL_APP_ID}.png)
    add_custom_command(
        OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILL_INSTALL_GEN_DIR}/icons/${size}
        COMMAND quill-render-svg ${QUILL_ICON_SVG} ${png} ${size}
        DEPENDS quill-render-svg ${QUILL_ICON_SVG}
        VERBATIM)
    list(APPEND QUILL_DESKTOP_OUTPUTS ${png})
    install(FILES ${png} DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()

# The manual page, with the package's program folder filled in, compressed as Debian keeps manual
# pages.
set(QUILL_INSTALL_PATH ${QUILL_PACKAGE_PREFIX}/${QUILL_INSTALL_DIR})
configure_file(${QUILL_DESKTOP_DIR}/quill.1.in ${QUILL_INSTALL_GEN_DIR}/quill.1 @ONLY)
add_custom_command(
    OUTPUT ${QUILL_INSTALL_GEN_DIR}/quill.1.gz
    COMMAND gzip -9nf -k ${QUILL_INSTALL_GEN_DIR}/quill.1
    DEPENDS ${QUILL_INSTALL_GEN_DIR}/quill.1
    VERBATIM)
list(APPEND QUILL_DESKTOP_OUTPUTS ${QUILL_INSTALL_GEN_DIR}/quill.1.gz)
install(FILES ${QUILL_INSTALL_GEN_DIR}/quill.1.gz DESTINATION share/man/man1)

install(FILES ${QUILL_DESKTOP_DIR}/${QUILL_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${QUILL_DESKTOP_DIR}/${QUILL_APP_ID}.metainfo.xml DESTINATION share/metainfo)

add_custom_target(quill_desktop_files ALL DEPENDS ${QUILL_DESKTOP_OUTPUTS})

# The Debian package. Its dependencies on shared libraries are worked out from the executable by
# dpkg-shlibdeps; the fonts are named by hand: the screens name Arial, which fontconfig finds in
# Liberation's fonts of the same measures.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${QUILL_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Dovetail)
set(CPACK_PACKAGE_CONTACT "Dovetail <quillon@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "trainer for orienteering control descriptions and map symbols")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillon 2 For Orienteering teaches the control description sheet of orienteering and the
symbols of orienteering maps: a guided walkthrough of the sheet and a quiz, practice on a grid of
symbols, and timed tests whose results are ranked. Each user's results are kept in the user's
data folder.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${QUILL_PACKAGE_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://quillon.example.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fontconfig, fonts-liberation2, fonts-dejavu-core")
include(CPack)
