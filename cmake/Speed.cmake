# SPDX-License-Identifier: GPL-3.0-or-later
# Build speed: the Qt headers that most files of a library include, parsed once per library as a
# precompiled header instead of once per file (QUILL_PCH). Libraries and programs name the Qt modules
# their own code uses; the header holds the most used headers of those modules.
set(QUILL_PCH_Core
    <QByteArray> <QDir> <QFile> <QFileInfo> <QHash> <QList> <QObject> <QString> <QStringList>
    <QVariant> <algorithm> <functional> <memory> <vector>)
set(QUILL_PCH_Gui <QColor> <QFont> <QImage> <QPainter>)
set(QUILL_PCH_Widgets <QDialog> <QLabel> <QPushButton> <QWidget>)
set(QUILL_PCH_Test <QTest>)

# Precompiles the headers of `modules` (Core, Gui, Widgets, Test) for `target`.
function(quill_precompile target)
    if(NOT QUILL_PCH)
        return()
    endif()
    set(headers "")
    foreach(module IN LISTS ARGN)
        list(APPEND headers ${QUILL_PCH_${module}})
    endforeach()
    target_precompile_headers(${target} PRIVATE ${headers})
endfunction()
