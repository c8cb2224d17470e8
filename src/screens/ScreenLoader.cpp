// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/ScreenLoader.h"

#include "content/Language.h"
#include "platform/AppError.h"
#include "platform/Desktop.h"

#include <QBuffer>
#include <QColor>
#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QHash>
#include <QMetaProperty>
#include <QPalette>
#include <QScreen>
#include <QWidget>
#include <QXmlStreamReader>

namespace {

QHash<QString, ScreenLoader::Factory>& factories()
{
    static QHash<QString, ScreenLoader::Factory> instance;
    return instance;
}

constexpr char PixelSizeSuffix[] = "PixelSize";
constexpr char FontColorProperty[] = "fontColor";
constexpr char BackgroundColorProperty[] = "backgroundColor";

} // namespace

void moveToScreenCentre(QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
    keepOnScreen(window);
}

void keepOnScreen(QWidget* window)
{
    const QRect fitted = Desktop::fitOnScreen(QRect(window->pos(), window->frameGeometry().size()));
    if (fitted.topLeft() != window->pos())
        window->move(fitted.topLeft());
}

void setBackgroundColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

namespace {

// Fonts in descriptions are sized in pixels (character heights), which the .ui font element cannot
// say: a dynamic property "<font property>PixelSize" sets the pixel size of that font property.
// Fonts carry no colour in Qt: a dynamic property "fontColor" sets the widget's text colours.
// A dynamic property "backgroundColor" fills the widget's background with a plain colour.
void applyExtras(QWidget* widget)
{
    const QList<QByteArray> names = widget->dynamicPropertyNames();
    for (const QByteArray& name : names) {
        const QVariant value = widget->property(name.constData());
        if (name.endsWith(PixelSizeSuffix)) {
            const QByteArray fontProperty = name.chopped(int(sizeof(PixelSizeSuffix) - 1));
            const QVariant current = widget->property(fontProperty.constData());
            if (current.typeId() == QMetaType::QFont && value.toInt() > 0) {
                QFont font = current.value<QFont>();
                font.setPixelSize(value.toInt());
                widget->setProperty(fontProperty.constData(), font);
            }
        } else if (name == BackgroundColorProperty) {
            setBackgroundColor(widget, value.value<QColor>());
        } else if (name == FontColorProperty) {
            const QColor color = value.value<QColor>();
            const int index = widget->metaObject()->indexOfProperty("FontColor");
            if (index >= 0) {
                widget->metaObject()->property(index).write(widget, color);
            } else {
                QPalette palette = widget->palette();
                palette.setColor(QPalette::WindowText, color);
                palette.setColor(QPalette::ButtonText, color);
                palette.setColor(QPalette::Text, color);
                widget->setPalette(palette);
            }
        }
    }
}

// The root widget's place from the description (QUiLoader applies only its size).
QPoint rootPosition(const QByteArray& description, bool* found)
{
    QXmlStreamReader xml(description);
    int widgetDepth = 0;
    bool inGeometry = false;
    int x = 0, y = 0;
    QString field;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("widget")) {
                ++widgetDepth;
            } else if (widgetDepth == 1 && xml.name() == QLatin1String("property") &&
                       xml.attributes().value(QLatin1String("name")) == QLatin1String("geometry")) {
                inGeometry = true;
            } else if (inGeometry) {
                field = xml.name().toString();
            }
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("widget"))
                --widgetDepth;
            else if (inGeometry && xml.name() == QLatin1String("property"))
                break;
            field.clear();
        } else if (xml.isCharacters() && inGeometry) {
            if (field == QLatin1String("x"))
                x = xml.text().toInt();
            else if (field == QLatin1String("y"))
                y = xml.text().toInt();
        }
    }
    *found = inGeometry;
    return {x, y};
}

} // namespace

ScreenLoader::ScreenLoader(QWidget* window, const QString& screenName)
    : m_window(window), m_screenName(screenName)
{}

void ScreenLoader::registerClass(const QString& className, Factory factory)
{
    factories().insert(className, std::move(factory));
}

QWidget* ScreenLoader::createWidget(const QString& className, QWidget* parent, const QString& name)
{
    // The description's root is the screen that was asked for, whatever C++ class stands for it.
    if (!parent && !m_rootHandedOut && className == m_screenName) {
        m_rootHandedOut = true;
        m_window->setObjectName(name);
        return m_window;
    }
    QWidget* widget = nullptr;
    if (auto it = factories().constFind(className); it != factories().constEnd())
        widget = (*it)(parent);
    else
        widget = QUiLoader::createWidget(className, parent, name);
    if (!widget) {
        m_unknownClasses << className;
        return nullptr;
    }
    widget->setObjectName(name);
    return widget;
}

void ScreenLoader::applyDescriptionExtras(QWidget* root, const QByteArray& description)
{
    applyExtras(root);
    const QList<QWidget*> children = root->findChildren<QWidget*>();
    for (QWidget* child : children)
        applyExtras(child);
    bool found = false;
    const QPoint position = rootPosition(description, &found);
    if (found && root->isWindow())
        root->move(position);
}

void ScreenLoader::load(QWidget* window, const QString& className)
{
    const QByteArray description = Language::screenDescription(className);
    // QUiLoader would load every Designer plugin on the library path (one of them brings in Qt
    // Quick); the screens use only our own classes and Qt's widgets.
    const QStringList libraryPaths = QCoreApplication::libraryPaths();
    QCoreApplication::setLibraryPaths({});
    ScreenLoader loader(window, className);
    QCoreApplication::setLibraryPaths(libraryPaths);
    QBuffer buffer;
    buffer.setData(description);
    buffer.open(QIODevice::ReadOnly);
    QWidget* root = loader.QUiLoader::load(&buffer, nullptr);
    if (!loader.m_unknownClasses.isEmpty())
        throw AppError(QStringLiteral("Class %s not found"), {loader.m_unknownClasses.first()});
    if (root != window)
        throw AppError(QString::fromLatin1(Msg::ResourceNotFound), {className});
    loader.applyDescriptionExtras(window, description);
}

QObject* findControlOrThrow(QWidget* screen, const QString& name, const QMetaObject& type)
{
    const QList<QObject*> candidates = screen->findChildren<QObject*>(name);
    for (QObject* candidate : candidates) {
        if (type.cast(candidate))
            return candidate;
    }
    throw AppError(QStringLiteral("Component %s not found"), {name});
}
