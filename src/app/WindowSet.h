// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Screens.h"

#include <memory>

// Creates the program's windows and keeps them until the end: the main window, the text help window
// and the settings dialog at once; the test selection, the winner dialog and the results viewer
// right after the main window's first paint, or when one of them is first asked for.
class TForm1;
class THelpForm;
class TStartDlg;
class WinnerDialog;
class ResultsViewer;
class TSettingsDlg;
class ProgressViewer;
class QuickQuizDialog;
class AnswerStore;
class Session;
struct SettingsBinding;

class WindowSet
{
public:
    WindowSet();
    ~WindowSet();
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

    Screens& screens() { return m_screens; }
    // The main window itself (the program's start and tests; other windows see it as a MainWindow).
    TForm1* form() const { return m_form1.get(); }

    // The system's own widget classes that screen descriptions name.
    static void registerWidgetClasses();

private:
    void buildDeferredWindows();
    // The settings' part that places the windows and reads the main menu's selection.
    SettingsBinding windowSettings();
    // The session's results reach the dialogs that show them.
    void connectSession();

    bool m_building = false;
    Screens m_screens;
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<THelpForm> m_helpForm;
    std::unique_ptr<TStartDlg> m_startDlg;
    std::unique_ptr<WinnerDialog> m_winDlg;
    std::unique_ptr<ResultsViewer> m_resultaty;
    std::unique_ptr<TSettingsDlg> m_settingsDlg;
    std::unique_ptr<ProgressViewer> m_progressViewer;
    std::unique_ptr<QuickQuizDialog> m_quickQuiz;
    std::unique_ptr<AnswerStore> m_answers;
    std::unique_ptr<Session> m_session;
};
