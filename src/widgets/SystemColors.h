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

} // namespace SystemColors
