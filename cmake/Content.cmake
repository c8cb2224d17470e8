# SPDX-License-Identifier: GPL-3.0-or-later
# The content pipeline: turns the sources in data/ into the files the program reads, in the
# ready program folder. Every step is a generator in tools/.

set(QUILL_RCC $<TARGET_FILE:Qt6::rcc>)
set(QUILL_CONTENT_OUTPUTS "")

# Symbol font, built with fontTools from the drawings and the code table.
file(GLOB_RECURSE QUILL_SYMBOL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/symbols/*)
add_custom_command(
    OUTPUT ${QUILL_RUN_DIR}/Pictor07.TTF
    COMMAND ${QUILL_PYTHON} ${CMAKE_SOURCE_DIR}/tools/build_font.py
            --data ${CMAKE_SOURCE_DIR}/data/symbols --out ${QUILL_RUN_DIR}/Pictor07.TTF
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/build_font.py ${CMAKE_SOURCE_DIR}/tools/pictures/symbol_svg.py ${QUILL_SYMBOL_SOURCES}
    COMMENT "Building the symbol font Pictor07.TTF"
    VERBATIM)
list(APPEND QUILL_CONTENT_OUTPUTS ${QUILL_RUN_DIR}/Pictor07.TTF)

# The notation of the symbols, for printing: the font's codes by the numbers a coach writes
# (2.4, 12.1:E) and the cells of every whole line.
add_custom_command(
    OUTPUT ${QUILL_RUN_DIR}/SymbolCodes.tsv ${QUILL_RUN_DIR}/Lines.tsv
    COMMAND ${QUILL_PYTHON} ${CMAKE_SOURCE_DIR}/tools/build_notation.py --source ${CMAKE_SOURCE_DIR}
            --codes ${QUILL_RUN_DIR}/SymbolCodes.tsv --lines ${QUILL_RUN_DIR}/Lines.tsv
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/build_notation.py ${CMAKE_SOURCE_DIR}/tools/pictures/symbol_svg.py
            ${CMAKE_SOURCE_DIR}/tools/pictures/line_table.py ${CMAKE_SOURCE_DIR}/data/symbols/codes.tsv
            ${CMAKE_SOURCE_DIR}/data/lines/lines.tsv
    COMMENT "Writing the symbol notation SymbolCodes.tsv and Lines.tsv"
    VERBATIM)
list(APPEND QUILL_CONTENT_OUTPUTS ${QUILL_RUN_DIR}/SymbolCodes.tsv ${QUILL_RUN_DIR}/Lines.tsv)

# Picture library: every picture of data/pictures plus those the generators in tools/pictures draw.
file(GLOB_RECURSE QUILL_PICTURE_SOURCES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/data/pictures/* ${CMAKE_SOURCE_DIR}/data/maps/* ${CMAKE_SOURCE_DIR}/data/lines/*
    ${CMAKE_SOURCE_DIR}/tools/pictures/*.py)
add_custom_command(
    OUTPUT ${QUILL_RUN_DIR}/Bitm1.dll
    COMMAND ${QUILL_PYTHON} ${CMAKE_SOURCE_DIR}/tools/build_library.py
            --source ${CMAKE_SOURCE_DIR} --work ${QUILL_GEN_DIR}/pictures
            --rcc ${QUILL_RCC} --out ${QUILL_RUN_DIR}/Bitm1.dll
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/build_library.py ${QUILL_PICTURE_SOURCES} ${QUILL_SYMBOL_SOURCES}
    COMMENT "Building the picture library Bitm1.dll"
    VERBATIM)
list(APPEND QUILL_CONTENT_OUTPUTS ${QUILL_RUN_DIR}/Bitm1.dll)

# Relations between the symbols for the quick quiz (columns, map-symbol groups, the cells of whole
# lines, the description symbols that describe a map symbol): one file for every language.
add_custom_command(
    OUTPUT ${QUILL_RUN_DIR}/Relations.txt
    COMMAND ${QUILL_PYTHON} ${CMAKE_SOURCE_DIR}/tools/gen_related.py
            --source ${CMAKE_SOURCE_DIR} --out ${QUILL_RUN_DIR}/Relations.txt
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/gen_related.py ${CMAKE_SOURCE_DIR}/tools/content_files.py
            ${CMAKE_SOURCE_DIR}/tools/pictures/line_table.py ${CMAKE_SOURCE_DIR}/tools/pictures/symbol_svg.py
            ${CMAKE_SOURCE_DIR}/data/symbols/codes.tsv ${CMAKE_SOURCE_DIR}/data/maps/symbols.tsv
            ${CMAKE_SOURCE_DIR}/data/lines/lines.tsv ${CMAKE_SOURCE_DIR}/data/text/eng/SymbolsAdd.eng
    COMMENT "Writing the relations between the symbols, Relations.txt"
    VERBATIM)
list(APPEND QUILL_CONTENT_OUTPUTS ${QUILL_RUN_DIR}/Relations.txt)

# Languages: every folder data/text/<code>/ is one language. The language module quill.<code> is
# the built-in language with the texts of its column of data/text/strings.tsv and of its module/
# folder in place (same ids, widgets, places and sizes); the folder's other files are the content
# files <Base>.<code>. The build makes the module and every content file of every folder it finds.
file(GLOB QUILL_BUILTIN_SOURCES CONFIGURE_DEPENDS ${QUILL_BUILTIN_LANGUAGE_DIR}/*)
file(GLOB QUILL_LANGUAGE_DIRS CONFIGURE_DEPENDS LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/data/text/*)
set(QUILL_QT_TRANSLATIONS_DIR "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS}")
add_executable(quill-content ${CMAKE_SOURCE_DIR}/tools/quill-content.cpp)
target_link_libraries(quill-content PRIVATE quillcore)
set(QUILL_LANGUAGES "")
foreach(dir IN LISTS QUILL_LANGUAGE_DIRS)
    if(NOT IS_DIRECTORY ${dir})
        continue()
    endif()
    get_filename_component(code ${dir} NAME)
    list(APPEND QUILL_LANGUAGES ${code})

    file(GLOB module_sources CONFIGURE_DEPENDS ${dir}/module/*)
    add_custom_command(
        OUTPUT ${QUILL_RUN_DIR}/quill.${code}
        COMMAND ${QUILL_PYTHON} ${CMAKE_SOURCE_DIR}/tools/build_module.py
                --source ${QUILL_BUILTIN_LANGUAGE_DIR} --override ${dir}/module
                --strings-table ${CMAKE_SOURCE_DIR}/data/text/strings.tsv --language ${code}
                --qt-translations ${QUILL_QT_TRANSLATIONS_DIR}
                --work ${QUILL_GEN_DIR}/module-${code} --rcc ${QUILL_RCC} --out ${QUILL_RUN_DIR}/quill.${code}
        DEPENDS ${CMAKE_SOURCE_DIR}/tools/build_module.py ${CMAKE_SOURCE_DIR}/tools/gen_strings.py
                ${CMAKE_SOURCE_DIR}/data/text/strings.tsv ${QUILL_BUILTIN_SOURCES} ${module_sources}
        COMMENT "Building the language module quill.${code}"
        VERBATIM)
    list(APPEND QUILL_CONTENT_OUTPUTS ${QUILL_RUN_DIR}/quill.${code})

    # Content text files: LF sources become CR LF files; three of them get their checksum line.
    file(GLOB text_sources CONFIGURE_DEPENDS ${dir}/*.${code})
    foreach(src IN LISTS text_sources)
        get_filename_component(name ${src} NAME)
        string(TOLOWER ${name} lname)
        if(lname MATCHES "^(bitm1|legends|symbols)\\.")
            set(mode stamp)
        else()
            set(mode plain)
        endif()
        add_custom_command(
            OUTPUT ${QUILL_RUN_DIR}/${name}
            COMMAND quill-content ${mode} ${src} ${QUILL_RUN_DIR}/${name}
            DEPENDS quill-content ${src}
            VERBATIM)
        list(APPEND QUILL_CONTENT_OUTPUTS ${QUILL_RUN_DIR}/${name})
    endforeach()
endforeach()

add_custom_target(quill_content ALL DEPENDS ${QUILL_CONTENT_OUTPUTS})
add_dependencies(quill quill_content)

# Contact sheets of the content for review: `cmake --build build --target contact-sheet`
# writes PNG pages of every glyph and picture into build/contact-sheet/.
add_executable(quill-contactsheet EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/tools/contactsheet.cpp)
target_link_libraries(quill-contactsheet PRIVATE quillcore)
add_custom_target(contact-sheet
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:quill-contactsheet>
            ${QUILL_RUN_DIR} ${CMAKE_SOURCE_DIR}/data/symbols/codes.tsv ${CMAKE_BINARY_DIR}/contact-sheet
    DEPENDS quill-contactsheet quill_content
    COMMENT "Drawing the contact sheets"
    VERBATIM)

# Screenshots of the main window's screens for the README: `cmake --build build --target screenshots`
# writes them into build/screens/ (English), build/screens/deu/ and build/screens/fra/, and the
# end of a test at twice the scale into build/screens/x2/. Not built by default.
add_executable(quill-screens EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/tools/screens.cpp)
target_link_libraries(quill-screens PRIVATE quillcore Qt6::Test)
add_custom_target(screenshots
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:quill-screens>
            ${QUILL_RUN_DIR} ${CMAKE_BINARY_DIR}/screens
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:quill-screens>
            ${QUILL_RUN_DIR} ${CMAKE_BINARY_DIR}/screens/deu deu
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:quill-screens>
            ${QUILL_RUN_DIR} ${CMAKE_BINARY_DIR}/screens/fra fra
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 $<TARGET_FILE:quill-screens>
            ${QUILL_RUN_DIR} ${CMAKE_BINARY_DIR}/screens/x2
    DEPENDS quill-screens quill_content
    COMMENT "Taking the screenshots"
    VERBATIM)
