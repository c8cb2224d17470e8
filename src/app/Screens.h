// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <utility>

class AnswerStore;
class MainWindow;
class Session;
class ProgressViewer;
class QuickQuizDialog;
class THelpForm;
class TStartDlg;
class WinnerDialog;
class ResultsViewer;
class TSettingsDlg;

// A window that is built after the main window has first been painted (the user should not wait
// for dialogs that are not on the screen), or earlier, on first use.
template <typename Window> class DeferredWindow
{
public:
    DeferredWindow& operator=(Window* window)
    {
        m_window = window;
        return *this;
    }
    // The window, built first when it does not exist yet.
    Window* get()
    {
        if (!m_window && m_build)
            m_build();
        return m_window;
    }
    operator Window*() { return get(); }
    Window* operator->() { return get(); }
    // Whether the window exists, without building it.
    bool exists() const { return m_window != nullptr; }
    void setBuild(std::function<void()> build) { m_build = std::move(build); }

    // Builds the window into `owner` unless it exists. One that fails (a screen missing from the
    // language module) is forgotten, also when it was set here while it was built, so that its
    // next use tries anew.
    template <typename... Args> void buildInto(std::unique_ptr<Window>& owner, Args&... args)
    {
        if (owner)
            return;
        try {
            owner = std::make_unique<Window>(args...);
        } catch (...) {
            m_window = nullptr;
            throw;
        }
        m_window = owner.get();
    }

private:
    Window* m_window = nullptr;
    std::function<void()> m_build;
};

// The program's windows, as the program creates them: once, living until the end. The main window,
// the text help window and the settings dialog (which applies the stored settings) exist before
// the main window is shown; the test selection, the winner dialog and the results viewer are built
// in that order right after its first paint. Only the program's own layer sees this set: a dialog
// is handed the session and the values it shows, never another window.
struct Screens
{
    MainWindow* mainWindow = nullptr;
    THelpForm* helpForm = nullptr;
    DeferredWindow<TStartDlg> startDlg;
    DeferredWindow<WinnerDialog> winnerDialog;
    DeferredWindow<ResultsViewer> resultsViewer;
    TSettingsDlg* settingsDlg = nullptr;
    // The learner's progress: built when first opened.
    DeferredWindow<ProgressViewer> progressViewer;
    // The quick quiz: built when first opened.
    DeferredWindow<QuickQuizDialog> quickQuiz;
    // The learner's answers, kept by every timed round.
    AnswerStore* answers = nullptr;
    // What is being played, and by which rules.
    Session* session = nullptr;
};
