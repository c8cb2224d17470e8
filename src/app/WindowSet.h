#pragma once

#include "app/Screens.h"

#include <memory>

// Creates the program's windows in their order (main window, text help window, test selection,
// winner dialog, results viewer, settings dialog) and keeps them until the end.
class WindowSet
{
public:
    WindowSet();
    ~WindowSet();
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

    Screens& screens() { return m_screens; }

    // The system's own widget classes that screen descriptions name.
    static void registerWidgetClasses();

private:
    Screens m_screens;
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<THelpForm> m_helpForm;
    std::unique_ptr<TStartDlg> m_startDlg;
    std::unique_ptr<TWinDlg> m_winDlg;
    std::unique_ptr<TResultaty> m_resultaty;
    std::unique_ptr<TSettingsDlg> m_settingsDlg;
};
