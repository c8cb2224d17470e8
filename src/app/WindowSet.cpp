#include "app/WindowSet.h"

#include "app/ScreenLoader.h"
#include "app/TForm1.h"
#include "dialogs/THelpForm.h"
#include "dialogs/TResultaty.h"
#include "dialogs/TSettingsDlg.h"
#include "dialogs/TStartDlg.h"
#include "dialogs/TWinDlg.h"
#include "game/TMyDrawGrid.h"
#include "results/ResultsGrid.h"
#include "widgets/TCommandButton.h"
#include "widgets/TGauge.h"
#include "widgets/TLinkLabel.h"

void WindowSet::registerWidgetClasses()
{
    ScreenLoader::registerClass(QStringLiteral("TCommandButton"),
                                [](QWidget* p) { return new TCommandButton(p); });
    ScreenLoader::registerClass(QStringLiteral("TGauge"), [](QWidget* p) {
        auto* gauge = new TGauge(p);
        gauge->setLoading(true); // settings from a description are not refused; see ScreenLoader
        return gauge;
    });
    ScreenLoader::registerClass(QStringLiteral("TLinkLabel"), [](QWidget* p) { return new TLinkLabel(p); });
    ScreenLoader::registerClass(QStringLiteral("TMyDrawGrid"), [](QWidget* p) { return new TMyDrawGrid(p); });
    ScreenLoader::registerClass(QStringLiteral("ResultsGrid"), [](QWidget* p) { return new ResultsGrid(p); });
}

WindowSet::WindowSet()
{
    registerWidgetClasses();
    m_form1 = std::make_unique<TForm1>(m_screens);
    m_helpForm = std::make_unique<THelpForm>(m_screens);
    m_startDlg = std::make_unique<TStartDlg>(m_screens);
    m_winDlg = std::make_unique<TWinDlg>(m_screens);
    m_resultaty = std::make_unique<TResultaty>(m_screens);
    m_settingsDlg = std::make_unique<TSettingsDlg>(m_screens);
}

WindowSet::~WindowSet()
{
    // the dialogs refer to the main window: they go first
    m_settingsDlg.reset();
    m_resultaty.reset();
    m_winDlg.reset();
    m_startDlg.reset();
    m_helpForm.reset();
    m_form1.reset();
}
