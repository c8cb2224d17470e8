// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowSet.h"

#include "app/TForm1.h"
#include "dialogs/ProgressViewer.h"
#include "dialogs/QuickQuizDialog.h"
#include "dialogs/ResultsGrid.h"
#include "dialogs/ResultsViewer.h"
#include "dialogs/THelpForm.h"
#include "dialogs/TSettingsDlg.h"
#include "dialogs/TStartDlg.h"
#include "dialogs/WinnerDialog.h"
#include "game/GameRound.h"
#include "game/TMyDrawGrid.h"
#include "platform/AppError.h"
#include "platform/Desktop.h"
#include "platform/MessageBoxes.h"
#include "results/AnswerStore.h"
#include "results/SettingsStore.h"
#include "screens/ScreenLoader.h"
#include "session/Session.h"
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

// The text help window is never made smaller than this from stored settings.
constexpr QSize MinHelpFormSize(160, 100);

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
    m_session = std::make_unique<Session>(*m_form1, m_answers.get());
    m_screens.session = m_session.get();
    m_helpForm = std::make_unique<THelpForm>();
    m_screens.helpForm = m_helpForm.get();
    m_settingsDlg = std::make_unique<TSettingsDlg>(*m_session, windowSettings());
    m_screens.settingsDlg = m_settingsDlg.get();
    m_helpForm->CloseHelp();
    const auto build = [this] { buildDeferredWindows(); };
    m_screens.startDlg.setBuild(build);
    m_screens.winnerDialog.setBuild(build);
    m_screens.resultsViewer.setBuild(build);
    m_screens.progressViewer.setBuild(
        [this] { m_screens.progressViewer.buildInto(m_progressViewer, *m_session); });
    m_screens.quickQuiz.setBuild([this] { m_screens.quickQuiz.buildInto(m_quickQuiz, *m_session); });
    connectSession();
    // no message stands over a running clock
    MessageBoxes::setModalHook([round = m_form1->round()](bool shown) { round->holdForMessage(shown); });
    new AfterFirstPaint(m_form1.get(), build);
}

SettingsBinding WindowSet::windowSettings()
{
    TForm1* form = m_form1.get();
    THelpForm* help = m_helpForm.get();
    SettingsBinding b;
    b.setLearning = [form](bool learning) { form->selectLearning(learning); };
    b.learning = [form] { return form->learningSelected(); };
    // stored places and sizes from another screen set-up are brought back into view
    b.moveHelpForm = [help](QPoint p) {
        help->move(p);
        keepOnScreen(help);
    };
    b.resizeHelpForm = [help](QSize s) {
        const QRect fitted = Desktop::fitOnScreen(QRect(help->pos(), s), MinHelpFormSize);
        help->resize(fitted.size());
        help->move(fitted.topLeft());
    };
    b.helpFormGeometry = [help] { return QRect(help->pos(), help->size()); };
    b.moveMainForm = [form](QPoint p) {
        form->moveWindow(Desktop::fitOnScreen(QRect(p, form->windowFrameSize())).topLeft());
    };
    b.mainFormPosition = [form] { return form->windowPosition(); };
    return b;
}

void WindowSet::connectSession()
{
    QObject::connect(m_session.get(), &Session::roundFinished, m_form1.get(),
                     [this](const FinishedRound& round, bool ranked) {
                         if (ranked)
                             m_screens.winnerDialog->present(round);
                         else
                             m_screens.winnerDialog->presentUnrecorded(round);
                     });
    QObject::connect(m_session.get(), &Session::drillWithoutHistory, m_form1.get(),
                     [this] { m_screens.startDlg->offerFirstTest(); });
}

void WindowSet::buildDeferredWindows()
{
    // A dialog that looks up another while it is built gets it built after itself.
    if (m_building)
        return;
    m_building = true;
    const auto done = qScopeGuard([this] { m_building = false; });
    m_screens.startDlg.buildInto(m_startDlg, *m_session);
    m_screens.winnerDialog.buildInto(m_winDlg, *m_session);
    m_screens.resultsViewer.buildInto(m_resultaty, *m_session);
}

WindowSet::~WindowSet()
{
    MessageBoxes::setModalHook({});
    // the dialogs refer to the session, and the session to the main window: they go first
    m_session.reset();
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
