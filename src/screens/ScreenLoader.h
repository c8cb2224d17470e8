// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUiLoader>
#include <functional>

// Builds a screen from its description (.ui) of the active language into the already existing
// window object: the description's root class is the window's own class, the system's own widget
// classes are created by name, and their settings are Qt properties. A class it cannot create is an
// error, never a plain widget in its place.
class ScreenLoader : public QUiLoader
{
    Q_OBJECT
public:
    using Factory = std::function<QWidget*(QWidget* parent)>;

    // Loads the screen description `className` (the class its root names, which language modules
    // rely on) into `window`. Throws "Resource %s not found" when the active language has no such
    // description, and an error naming the class it cannot create.
    static void load(QWidget* window, const QString& className);

    // The system's widget classes that descriptions may name.
    static void registerClass(const QString& className, Factory factory);

    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override;

private:
    ScreenLoader(QWidget* window, const QString& screenName);
    void applyDescriptionExtras(QWidget* root, const QByteArray& description);

    QWidget* m_window;
    // The name of the screen description, which is the class its root element names.
    QString m_screenName;
    bool m_rootHandedOut = false;
    QStringList m_unknownClasses;
};

// Places a window in the middle of the screen it is on, wholly on it.
void moveToScreenCentre(QWidget* window);
// Moves a window (that grew, or was placed for a larger screen) back wholly onto its screen.
void keepOnScreen(QWidget* window);

// Fills a control's background with a plain colour.
void setBackgroundColor(QWidget* widget, const QColor& color);

// Finds a control of a loaded screen by name; throws when the screen lacks it.
template <typename T> T* bindControl(QWidget* screen, const QString& name);

QObject* findControlOrThrow(QWidget* screen, const QString& name, const QMetaObject& type);

template <typename T> T* bindControl(QWidget* screen, const QString& name)
{
    return static_cast<T*>(findControlOrThrow(screen, name, T::staticMetaObject));
}
