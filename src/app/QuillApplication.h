#pragma once

#include <QApplication>

// The application object: a failure that reaches the event loop is shown in the application's
// standard error box, and the program goes on.
class QuillApplication : public QApplication
{
    Q_OBJECT
public:
    QuillApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    static QString title();
};
