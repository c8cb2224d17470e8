// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPalette>

// The system colours of the painted widgets, taken from a widget's palette so that they follow
// the desktop's colour scheme.
namespace SystemColors {

inline QColor buttonFace(const QPalette& palette)
{
    return palette.color(QPalette::Active, QPalette::Button);
}

inline QColor buttonHighlight(const QPalette& palette)
{
    return palette.color(QPalette::Active, QPalette::Light);
}

inline QColor buttonShadow(const QPalette& palette)
{
    return palette.color(QPalette::Active, QPalette::Dark);
}

inline QColor grayText(const QPalette& palette)
{
    return palette.color(QPalette::Disabled, QPalette::ButtonText);
}

inline QColor windowFrame(const QPalette& palette)
{
    return palette.color(QPalette::Active, QPalette::WindowText);
}

inline QColor window(const QPalette& palette)
{
    return palette.color(QPalette::Active, QPalette::Base);
}

inline QColor windowText(const QPalette& palette)
{
    return palette.color(QPalette::Active, QPalette::WindowText);
}

// The system colours by their stored indices (5 window, 8 window text, 15 button face,
// 16 button shadow, 17 grey text, 20 button highlight); any other index is the window text.
inline QColor fromIndex(quint32 index, const QPalette& palette)
{
    switch (index) {
    case 5:
        return window(palette);
    case 15:
        return buttonFace(palette);
    case 16:
        return buttonShadow(palette);
    case 17:
        return grayText(palette);
    case 20:
        return buttonHighlight(palette);
    default:
        return windowText(palette);
    }
}

} // namespace SystemColors
