#include "platform/MessageBoxes.h"

#include "platform/AppError.h"

#include <QApplication>
#include <QMessageBox>

namespace MessageBoxes {
namespace {
Handler& handler()
{
    static Handler instance;
    return instance;
}
QString& title()
{
    static QString instance;
    return instance;
}

void show(Kind kind, const QString& text)
{
    if (handler()) {
        handler()(kind, text);
        return;
    }
    QMessageBox box(kind == Kind::Error ? QMessageBox::Critical : QMessageBox::NoIcon, applicationTitle(),
                    text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}
} // namespace

void setHandler(Handler h)
{
    handler() = std::move(h);
}

void setApplicationTitle(const QString& t)
{
    title() = t;
}

QString applicationTitle()
{
    return title().isEmpty() ? QApplication::applicationName() : title();
}

void showError(const QString& message)
{
    QString text = message;
    if (!text.endsWith(QLatin1Char('.')))
        text += QLatin1Char('.');
    show(Kind::Error, text);
}

void showError(const AppError& error)
{
    QString text = error.text();
    if (!text.endsWith(QLatin1Char('.')))
        text += QLatin1Char('.');
    const QString location = error.location();
    if (!location.isEmpty())
        text += QLatin1Char('\n') + location;
    show(Kind::Error, text);
}

void showPlain(const QString& text)
{
    show(Kind::Plain, text);
}

namespace {
ConfirmHandler& confirmHandler()
{
    static ConfirmHandler instance;
    return instance;
}
} // namespace

void setConfirmHandler(ConfirmHandler handler)
{
    confirmHandler() = std::move(handler);
}

bool confirm(const QString& text, bool defaultYes)
{
    if (confirmHandler())
        return confirmHandler()(text);
    if (handler())
        return true;
    QMessageBox box(QMessageBox::Question, applicationTitle(), text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace MessageBoxes
