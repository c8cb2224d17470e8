// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Session.h"

#include "content/BoardLoader.h"
#include "content/Catalogue.h"
#include "content/ContentFiles.h"
#include "content/Language.h"
#include "game/GameRound.h"
#include "game/Modes.h"
#include "game/TMyDrawGrid.h"
#include "game/WeakSymbolDrill.h"
#include "platform/AppError.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "results/AnswerStore.h"
#include "screens/MainWindow.h"
#include "session/RoundRecorder.h"

#include <QLocale>

namespace {

constexpr char SymbolFontFamily[] = "PictorMarks";

struct BoardShape
{
    int colWidth;
    int rowHeight;
    int cols;
    int rows;
};

BoardShape shapeFor(SymbolKind kind)
{
    if (kind == SymbolKind::MapSymbol)
        return {113, 113, 5, 3};
    return {190, 80, 3, 5};
}

} // namespace

Session::Session(MainWindow& window, AnswerStore* answers) : m_window(window), m_answers(answers)
{
    // the rules start as the board's screen description sets it up
    if (const TMyDrawGrid* grid = m_window.grid()) {
        m_rules.textHelp = grid->ShowTextHelp();
        m_rules.textOnly = grid->ShowTextOnly();
    }
    GameRound* round = m_window.gameRound();
    if (!round)
        return;
    if (m_answers)
        m_recorder = std::make_unique<RoundRecorder>(*round, *m_answers, *this);
    connect(round, &GameRound::finished, this, &Session::boardRoundFinished);
    round->setRules(m_rules);
}

Session::~Session() = default;

quint8 Session::mode() const
{
    return m_window.CurrentMode();
}

void Session::setMode(quint8 mode)
{
    m_window.setCurrentMode(mode);
}

SymbolKind Session::kind() const
{
    return Mode::kindOf(mode());
}

void Session::showMode()
{
    m_window.ShowMode();
}

void Session::returnToMainMenu()
{
    m_window.returnToMainMenu();
}

bool Session::mapSymbolsOffered() const
{
    return m_window.mapSymbolTopicVisible();
}

void Session::setRules(const RoundRules& rules)
{
    m_rules = rules;
    if (TMyDrawGrid* grid = m_window.grid()) {
        grid->SetShowTextHelp(rules.textHelp);
        grid->SetShowTextOnly(rules.textOnly);
    }
    if (GameRound* round = m_window.gameRound())
        round->setRules(rules);
}

QFont Session::symbolFont() const
{
    // a window without a board leaves the family to name the font
    const TMyDrawGrid* grid = m_window.grid();
    return grid ? grid->FontSymbols() : QFont(QString::fromLatin1(SymbolFontFamily));
}

QColor Session::symbolColour() const
{
    const TMyDrawGrid* grid = m_window.grid();
    return grid ? grid->FontSymbolsColor() : QColor(Qt::black);
}

QFont Session::textFont() const
{
    return m_window.grid()->FontText();
}

QColor Session::textFontColour() const
{
    return m_window.grid()->FontTextColor();
}

void Session::setTextFont(const QFont& font, const QColor& colour)
{
    m_window.grid()->SetFontText(font);
    m_window.grid()->SetFontTextColor(colour);
}

void Session::setTextFont(const QFont& font)
{
    m_window.grid()->SetFontText(font);
}

void Session::layOutBoard()
{
    TMyDrawGrid* grid = m_window.grid();
    const BoardShape shape = shapeFor(kind());
    grid->SetDefaultColWidth(shape.colWidth);
    grid->SetDefaultRowHeight(shape.rowHeight);
    grid->SetColCount(shape.cols);
    grid->SetRowCount(shape.rows);
}

bool Session::play(const TTypesItem& entry)
{
    layOutBoard();
    TMyDrawGrid* grid = m_window.grid();
    const SymbolKind boardKind = kind();
    QList<quint8> looks;
    for (const qint32 value : entry.Values)
        looks.append(CellLook::of(boardKind, value));
    BoardSource source;
    source.languageCode = LanguageCode();
    source.symbolFont = grid->FontSymbols();
    source.symbolColour = grid->FontSymbolsColor();
    source.cellWidth = grid->DefaultColWidth();
    try {
        grid->showBoard(BoardLoader::LoadBoard(entry, looks, source, TMyDrawGrid::ItemCount));
    } catch (const AppError& error) {
        // A test that cannot be played is not started (and so never gives a result); nothing of
        // the board before stays.
        grid->ClearBoard();
        MessageBoxes::showError(error);
        return false;
    }
    m_current = {entry.TestNumber, entry.TestName};
    m_lastPlayed = entry.TestNumber;
    m_window.startRound();
    return true;
}

QString Session::weakSymbolsName()
{
    return QLatin1Char(' ') + LoadString(StringId::WeakSymbolsTest);
}

QString Session::catalogueFor(SymbolKind kind)
{
    switch (kind) {
    case SymbolKind::Line:
        return ContentFileName(ContentFiles::CombinationCatalogue);
    case SymbolKind::MapSymbol:
        return ContentFileName(ContentFiles::MapSymbolCatalogue);
    case SymbolKind::Description:
        break;
    }
    return ContentFileName(ContentFiles::DescriptionCatalogue);
}

Session::DrillStart Session::playWeakSymbols()
{
    const quint8 current = mode();
    const SymbolKind drillKind = kind();
    WeakSymbolDrill::Board board;
    if (m_answers && m_answers->ensureOpen()) {
        try {
            board = WeakSymbolDrill::buildBoard(*m_answers, drillKind, dateOfDays(Now()));
        } catch (const AppError& error) {
            m_answers->disable(error);
        }
    }
    if (board.status == WeakSymbolDrill::Board::NoHistory) {
        MessageBoxes::showPlain(LoadString(StringId::DrillWithoutHistory));
        setMode(Mode::screenOf({SymbolKind::Description, Mode::isTimed(current)}));
        emit drillWithoutHistory();
        return DrillStart::NoHistory;
    }
    if (board.status == WeakSymbolDrill::Board::NothingDue) {
        MessageBoxes::showPlain(LoadString(StringId::DrillNothingDue)
                                    .arg(QLocale().toString(board.nextDue, QLocale::LongFormat)));
        return DrillStart::NothingDue;
    }
    TTypesItem entry;
    entry.TestName = weakSymbolsName();
    entry.TestNumber = TestNumbers::drill(drillKind);
    entry.Values = board.values;
    return play(entry) ? DrillStart::Started : DrillStart::NotPlayable;
}

void Session::boardRoundFinished(FinishedRound round)
{
    round.test = m_current;
    m_lastResult = round;
    const bool ranked = !m_rules.textHelp;
    emit roundFinished(round, ranked);
    if (!ranked)
        returnToMainMenu();
}

void Session::finishRound(const FinishedRound& round)
{
    m_lastPlayed = round.test.number;
    m_lastResult = round;
    emit roundFinished(round, true);
}
