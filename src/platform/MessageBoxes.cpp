// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MessageBoxes.h"

#include "platform/AppError.h"

#include <QCoreApplication>
#include <QTextStream>

namespace MessageBoxes {
namespace {
Handler& handler()
{
    static Handler instance;
    return instance;
}
Presenter& presenter()
{
    static Presenter instance;
    return instance;
}
QString& title()
{
    static QString instance;
    return instance;
}
ModalHook& modalHook()
{
    static ModalHook instance;
    return instance;
}

// Tells the hook that a message stands on the screen for the guard's lifetime.
class ModalShown
{
public:
    ModalShown()
    {
        if (modalHook())
            modalHook()(true);
    }
    ~ModalShown()
    {
        if (modalHook())
            modalHook()(false);
    }
    ModalShown(const ModalShown&) = delete;
    ModalShown& operator=(const ModalShown&) = delete;
};

void show(Kind kind, const QString& text)
{
    if (handler()) {
        const ModalShown shown;
        handler()(kind, text);
        return;
    }
    if (presenter().show) {
        const ModalShown shown;
        presenter().show(kind, text);
        return;
    }
    // no window to show it in: one line on standard error
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    QTextStream(stderr) << QCoreApplication::applicationName() << ": " << escapeControlCharacters(line)
                        << Qt::endl;
}
} // namespace

void setHandler(Handler h)
{
    handler() = std::move(h);
}

void setPresenter(Presenter p)
{
    presenter() = std::move(p);
}

void setModalHook(ModalHook hook)
{
    modalHook() = std::move(hook);
}

void setApplicationTitle(const QString& t)
{
    title() = t;
}

QString applicationTitle()
{
    return title().isEmpty() ? QCoreApplication::applicationName() : title();
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
    if (confirmHandler()) {
        const ModalShown shown;
        return confirmHandler()(text);
    }
    if (handler())
        return true;
    if (presenter().confirm) {
        const ModalShown shown;
        return presenter().confirm(text, defaultYes);
    }
    return defaultYes;
}

} // namespace MessageBoxes
