// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

class AppError;

// The application's messages. Every layer reports through here; how a message reaches the user is
// the application's choice (its presenter): a message box of the window, or a line on standard error
// for the command line. Without a presenter every message goes to standard error and a question is
// answered with its default, so that a program without a window never opens one. Tests install a
// handler instead, so that no dialog waits for a click.
namespace MessageBoxes {

enum class Kind { Error, Plain };
using Handler = std::function<void(Kind, const QString& text)>;
void setHandler(Handler handler);

struct Presenter
{
    Handler show;
    std::function<bool(const QString& text, bool defaultYes)> confirm;
};
void setPresenter(Presenter presenter);

// Called with true just before a message or question is shown (by the presenter or a handler) and
// with false once it is answered: a game pauses its clock while a message stands over it.
using ModalHook = std::function<void(bool shown)>;
void setModalHook(ModalHook hook);

// The application title, used as the caption of every message box.
void setApplicationTitle(const QString& title);
QString applicationTitle();

// The standard error box: stop icon, "OK", the message with a full stop added; an error's location
// (its file, and the number or line in it) on a line of its own below.
void showError(const QString& message);
void showError(const AppError& error);
// A box without icon with an "OK" button.
void showPlain(const QString& text);

// A question with "Yes" and "No"; true for "Yes". Return and Escape answer "No" unless
// `defaultYes`. Tests answer through a handler of their own; without one, a test that installed a
// message handler gets "Yes".
bool confirm(const QString& text, bool defaultYes = false);
using ConfirmHandler = std::function<bool(const QString& text)>;
void setConfirmHandler(ConfirmHandler handler);

} // namespace MessageBoxes
