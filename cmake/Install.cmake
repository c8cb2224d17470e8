# SPDX-License-Identifier: GPL-3.0-or-later
# Installing, as any Linux desktop program: `cmake --install build` puts the executable into
# <prefix>/bin, every content file the build makes (architecture-independent) into
# <prefix>/share/quillon2, where the executable finds them as ../share/quillon2, and the desktop's
# files under <prefix>/share: the menu entry, the icon in the hicolor sizes, the metainfo, the
# manual page, and the licence and changes in share/doc/quillon2. `cpack -G DEB` in the build folder
# makes the Debian package of the same, for the prefix /usr.

set(QUILL_PACKAGE_NAME quillon2)
set(QUILL_PACKAGE_PREFIX /usr)
set(QUILL_APP_ID org.example.quillon.quillon2)
set(QUILL_INSTALL_DIR share/${QUILL_PACKAGE_NAME})
set(QUILL_DOC_DIR share/doc/${QUILL_PACKAGE_NAME})
set(QUILL_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/desktop)
set(QUILL_INSTALL_GEN_DIR ${QUILL_GEN_DIR}/install)
file(MAKE_DIRECTORY ${QUILL_INSTALL_GEN_DIR})

# No run path: Qt's libraries are the system's.
set_target_properties(quill PROPERTIES INSTALL_RPATH "")
install(TARGETS quill RUNTIME DESTINATION bin)
install(FILES ${QUILL_CONTENT_OUTPUTS} DESTINATION ${QUILL_INSTALL_DIR})

# The installed mark: each user's results go to the user's data folder, also for a user who may
# write to the program folder (the administrator), so that the folder stays as the package left it.
file(WRITE ${QUILL_INSTALL_GEN_DIR}/INSTALLED
     "This copy of the program was installed: each user's results are kept in the user's data folder.\n")
install(FILES ${QUILL_INSTALL_GEN_DIR}/INSTALLED DESTINATION ${QUILL_INSTALL_DIR})

# The maintainer, whom a package names with an address: given to the configuration
# (-DQUILL_MAINTAINER="Name <address>"), else the author of the sources' last change; a
# package without an address is refused by lintian.
set(QUILL_MAINTAINER "" CACHE STRING "The Debian package's maintainer, as Name <address>")
set(quill_maintainer ${QUILL_MAINTAINER})
if(NOT quill_maintainer)
    execute_process(COMMAND git -C ${CMAKE_SOURCE_DIR} log -1 "--format=%an <%ae>"
                    OUTPUT_VARIABLE quill_maintainer OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(NOT quill_maintainer MATCHES "<.+@.+>")
        message(STATUS "No maintainer's address for the package: -DQUILL_MAINTAINER=\"Name <address>\"")
        set(quill_maintainer Dovetail)
    endif()
endif()

# The licence, as Debian's copyright files give it, and the changes, as Debian's changelogs do
# (compressed, as Debian keeps them).
install(FILES ${CMAKE_SOURCE_DIR}/desktop/copyright DESTINATION ${QUILL_DOC_DIR})
configure_file(${CMAKE_SOURCE_DIR}/desktop/changelog.in ${QUILL_INSTALL_GEN_DIR}/changelog @ONLY)
add_custom_command(
    OUTPUT ${QUILL_INSTALL_GEN_DIR}/changelog.gz
    COMMAND gzip -9nf -k ${QUILL_INSTALL_GEN_DIR}/changelog
    DEPENDS ${QUILL_INSTALL_GEN_DIR}/changelog
    VERBATIM)
install(FILES ${QUILL_INSTALL_GEN_DIR}/changelog.gz DESTINATION ${QUILL_DOC_DIR})
# What lintian says of the package and is meant so, each with its reason.
install(FILES ${CMAKE_SOURCE_DIR}/desktop/lintian-overrides DESTINATION share/lintian/overrides
        RENAME ${QUILL_PACKAGE_NAME})

# The application icon, drawn from the symbols; PNG in the icon theme's usual sizes.
set(QUILL_ICON_SVG ${QUILL_INSTALL_GEN_DIR}/icons/${QUILL_APP_ID}.svg)
add_custom_command(
    OUTPUT ${QUILL_ICON_SVG}
    COMMAND ${QUILL_PYTHON} ${CMAKE_SOURCE_DIR}/tools/build_icon.py --source ${CMAKE_SOURCE_DIR} --out ${QUILL_ICON_SVG}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/build_icon.py ${CMAKE_SOURCE_DIR}/tools/pictures/symbol_svg.py
            ${CMAKE_SOURCE_DIR}/tools/pictures/isom_draw.py ${QUILL_SYMBOL_SOURCES}
    COMMENT "Drawing the application icon"
    VERBATIM)
set(QUILL_DESKTOP_OUTPUTS ${QUILL_ICON_SVG} ${QUILL_INSTALL_GEN_DIR}/changelog.gz)
install(FILES ${QUILL_ICON_SVG} DESTINATION share/icons/hicolor/scalable/apps)
# At 16 pixels the description line cannot be read: that size has a drawing of its own.
set(QUILL_SMALL_ICON_SVG ${QUILL_INSTALL_GEN_DIR}/icons/${QUILL_APP_ID}-16.svg)
add_custom_command(
    OUTPUT ${QUILL_SMALL_ICON_SVG}
    COMMAND ${QUILL_PYTHON} ${CMAKE_SOURCE_DIR}/tools/build_icon.py --source ${CMAKE_SOURCE_DIR} --small
            --out ${QUILL_SMALL_ICON_SVG}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/build_icon.py ${CMAKE_SOURCE_DIR}/tools/pictures/isom_draw.py
    VERBATIM)
foreach(size 16 22 24 32 48 64 128 256)
    set(png ${QUILL_INSTALL_GEN_DIR}/icons/${size}/${QUILL_APP_ID}.png)
    set(svg ${QUILL_ICON_SVG})
    if(size EQUAL 16)
        set(svg ${QUILL_SMALL_ICON_SVG})
    endif()
    add_custom_command(
        OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILL_INSTALL_GEN_DIR}/icons/${size}
        COMMAND quill-render-svg ${svg} ${png} ${size}
        DEPENDS quill-render-svg ${svg}
        VERBATIM)
    list(APPEND QUILL_DESKTOP_OUTPUTS ${png})
    install(FILES ${png} DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
# The window's icon in the program folder of a copy that is not installed (the build's, a USB
# stick's); an installed copy takes the icon theme's.
add_custom_command(
    OUTPUT ${QUILL_RUN_DIR}/quill-icon.png
    COMMAND ${CMAKE_COMMAND} -E copy ${QUILL_INSTALL_GEN_DIR}/icons/256/${QUILL_APP_ID}.png ${QUILL_RUN_DIR}/quill-icon.png
    DEPENDS ${QUILL_INSTALL_GEN_DIR}/icons/256/${QUILL_APP_ID}.png
    VERBATIM)
list(APPEND QUILL_DESKTOP_OUTPUTS ${QUILL_RUN_DIR}/quill-icon.png)

# The manual page, with the package's program folder filled in, compressed as Debian keeps manual
# pages.
set(QUILL_INSTALL_PATH ${QUILL_PACKAGE_PREFIX}/${QUILL_INSTALL_DIR})
set(QUILL_BIN_PATH ${QUILL_PACKAGE_PREFIX}/bin/quill)
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
# dpkg-shlibdeps; the fonts are named by hand (the screens name Arial, which fontconfig finds in
# Liberation's fonts of the same measures), and so is Qt's SQLite driver, a plug-in the statistics
# need.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${QUILL_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Dovetail)
set(CPACK_PACKAGE_CONTACT ${quill_maintainer})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "trainer for orienteering control descriptions and map symbols")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillon 2 For Orienteering teaches the control description sheet of
orienteering and the symbols of orienteering maps: a guided walkthrough of
the sheet and a quiz, practice on a grid of symbols, and timed tests whose
results are ranked. Each user's results are kept in the user's data folder.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${QUILL_PACKAGE_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fontconfig, fonts-liberation2, fonts-dejavu-core, libqt6sql6-sqlite")
include(CPack)
