#pragma once

#include <QString>
#include <functional>

class AppError;

// The application's message boxes. Tests install a handler instead of the modal box, so that no
// dialog waits for a click.
namespace MessageBoxes {

enum class Kind { Error, Plain };
using Handler = std::function<void(Kind, const QString& text)>;
void setHandler(Handler handler);

// The application title, used as the caption of every message box.
void setApplicationTitle(const QString& title);
QString applicationTitle();

// The standard error box: stop icon, "OK", the message with a full stop added; an error's location
// (its file, and the number or line in it) on a line of its own below.
void showError(const QString& message);
void showError(const AppError& error);
// A box without icon with an "OK" button.
void showPlain(const QString& text);

} // namespace MessageBoxes
