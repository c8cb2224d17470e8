// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/widgets_helper.h"

#include "widgets/TCommandButton.h"
#include "widgets/TGauge.h"
#include "widgets/TLinkLabel.h"

#include <QBuffer>
#include <QDir>
#include <QUiLoader>

namespace WidgetTest {

QFont crispFont(int pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

QImage onScreen(QWidget* widget)
{
    QWidget* parent = widget->parentWidget();
    if (!parent)
        return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    return parent->grab(widget->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
}

QList<QPoint> pixelsWhere(const QImage& image, const PixelTest& test, const QRect& area)
{
    const QRect within = area.isEmpty() ? image.rect() : area.intersected(image.rect());
    QList<QPoint> found;
    for (int y = within.top(); y <= within.bottom(); ++y) {
        for (int x = within.left(); x <= within.right(); ++x) {
            if (test(image.pixel(x, y)))
                found.append(QPoint(x, y));
        }
    }
    return found;
}

QList<QPoint> pixelsOf(const QImage& image, QColor color, const QRect& area)
{
    const QRgb wanted = color.rgb();
    return pixelsWhere(
        image, [wanted](QRgb pixel) { return (pixel | 0xff000000) == wanted; }, area);
}

QRect boundsOf(const QImage& image, QColor color, const QRect& area)
{
    QRect bounds;
    for (const QPoint& point : pixelsOf(image, color, area))
        bounds |= QRect(point, QSize(1, 1));
    return bounds;
}

QRgb rgbAt(const QImage& image, int x, int y)
{
    return image.pixel(x, y) | 0xff000000;
}

void saveShot(const QImage& image, const QString& name)
{
    const QString folder = qEnvironmentVariable("QUILL_WIDGET_SHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    constexpr int magnification = 8;
    image.scaled(image.size() * magnification, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

namespace {

class Loader : public QUiLoader
{
public:
    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override
    {
        QWidget* widget = nullptr;
        if (className == QLatin1String("TCommandButton"))
            widget = new TCommandButton(parent);
        else if (className == QLatin1String("TGauge"))
            widget = new TGauge(parent);
        else if (className == QLatin1String("TLinkLabel"))
            widget = new TLinkLabel(parent);
        else
            return QUiLoader::createWidget(className, parent, name);
        widget->setObjectName(name);
        return widget;
    }
};

} // namespace

QWidget* loadDescription(const QByteArray& description, QWidget* parent)
{
    QBuffer buffer;
    buffer.setData(description);
    buffer.open(QIODevice::ReadOnly);
    Loader loader;
    return loader.load(&buffer, parent);
}

} // namespace WidgetTest
