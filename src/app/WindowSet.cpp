// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowSet.h"

#include "app/RoundRecorder.h"
#include "app/TForm1.h"
#include "dialogs/ProgressViewer.h"
#include "dialogs/QuickQuizDialog.h"
#include "dialogs/ResultsGrid.h"
#include "dialogs/ResultsViewer.h"
#include "dialogs/THelpForm.h"
#include "dialogs/TSettingsDlg.h"
#include "dialogs/TStartDlg.h"
#include "dialogs/WinnerDialog.h"
#include "game/TMyDrawGrid.h"
#include "platform/AppError.h"
#include "platform/MessageBoxes.h"
#include "results/AnswerStore.h"
#include "screens/ScreenLoader.h"
#include "widgets/QuizChoice.h"
#include "widgets/SymbolSheet.h"
#include "widgets/TCommandButton.h"
#include "widgets/TGauge.h"
#include "widgets/TLinkLabel.h"
#include "widgets/TrendChart.h"

#include <QEvent>
#include <QScopeGuard>
#include <QTimer>
#include <functional>
#include <utility>

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
    ScreenLoader::registerClass(QStringLiteral("SymbolSheet"), [](QWidget* p) { return new SymbolSheet(p); });
    ScreenLoader::registerClass(QStringLiteral("TrendChart"), [](QWidget* p) { return new TrendChart(p); });
    ScreenLoader::registerClass(QStringLiteral("QuizChoice"), [](QWidget* p) { return new QuizChoice(p); });
}

namespace {

// Calls `then` once, after the watched widget's first paint event has been handled.
class AfterFirstPaint : public QObject
{
public:
    AfterFirstPaint(QWidget* watched, std::function<void()> then) : QObject(watched), m_then(std::move(then))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                m_then();
                deleteLater();
            });
        }
        return false;
    }

private:
    std::function<void()> m_then;
};

} // namespace

WindowSet::WindowSet()
{
    registerWidgetClasses();
    // The answers are opened at the first round; until then the store is only its file's name.
    m_answers = std::make_unique<AnswerStore>(AnswerStore::defaultFolder());
    m_answers->setFailureReporter([](const AppError& error) { MessageBoxes::showError(error); });
    m_screens.answers = m_answers.get();
    m_form1 = std::make_unique<TForm1>(m_screens);
    m_recorder = std::make_unique<RoundRecorder>(*m_form1->round(), *m_answers, m_screens);
    m_helpForm = std::make_unique<THelpForm>(m_screens);
    m_settingsDlg = std::make_unique<TSettingsDlg>(m_screens);
    const auto build = [this] { buildDeferredWindows(); };
    m_screens.startDlg.setBuild(build);
    m_screens.winnerDialog.setBuild(build);
    m_screens.resultsViewer.setBuild(build);
    m_screens.progressViewer.setBuild(
        [this] { m_screens.progressViewer.buildInto(m_progressViewer, m_screens); });
    m_screens.quickQuiz.setBuild([this] { m_screens.quickQuiz.buildInto(m_quickQuiz, m_screens); });
    new AfterFirstPaint(m_form1.get(), build);
}

void WindowSet::buildDeferredWindows()
{
    // A dialog that looks up another while it is built gets it built after itself.
    if (m_building)
        return;
    m_building = true;
    const auto done = qScopeGuard([this] { m_building = false; });
    m_screens.startDlg.buildInto(m_startDlg, m_screens);
    m_screens.winnerDialog.buildInto(m_winDlg, m_screens);
    m_screens.resultsViewer.buildInto(m_resultaty, m_screens);
}

WindowSet::~WindowSet()
{
    // the dialogs refer to the main window: they go first
    m_recorder.reset();
    m_quickQuiz.reset();
    m_progressViewer.reset();
    m_settingsDlg.reset();
    m_resultaty.reset();
    m_winDlg.reset();
    m_startDlg.reset();
    m_helpForm.reset();
    m_form1.reset();
    m_answers.reset();
}
