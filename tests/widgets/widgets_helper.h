// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QWidget>

#include <functional>

// Helpers shared by the painted-widget tests.
namespace WidgetTest {

// A font whose glyphs are drawn without smoothing, so that every ink pixel has the pen's colour.
QFont crispFont(int pixelSize = 13);

// The widget as it shows on screen: a grab of its parent, cut to the widget's rectangle, so that
// transparent parts show the parent's background.
QImage onScreen(QWidget* widget);

// The pixels of `image` (within `area`, all of it when empty) that satisfy `test`, as a mask.
using PixelTest = std::function<bool(QRgb)>;
QList<QPoint> pixelsWhere(const QImage& image, const PixelTest& test, const QRect& area = {});
QList<QPoint> pixelsOf(const QImage& image, QColor color, const QRect& area = {});
// The smallest rectangle holding all pixels of `color`; empty when there are none.
QRect boundsOf(const QImage& image, QColor color, const QRect& area = {});

QRgb rgbAt(const QImage& image, int x, int y);

// Saves `image`, eight times enlarged for review, as <name>.png into the folder named by
// QUILL_WIDGET_SHOTS, when that is set.
void saveShot(const QImage& image, const QString& name);

// Builds widgets from a screen description, creating the painted widget classes by name.
QWidget* loadDescription(const QByteArray& description, QWidget* parent);

} // namespace WidgetTest
