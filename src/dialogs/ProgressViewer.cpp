// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/ProgressViewer.h"

#include "content/Language.h"
#include "dialogs/ExportFileDialog.h"
#include "game/CellItem.h"
#include "game/Modes.h"
#include "game/SymbolNames.h"
#include "game/SymbolNumbers.h"
#include "learning/QuizPictures.h"
#include "platform/AppError.h"
#include "platform/MessageBoxes.h"
#include "results/AnswerStore.h"
#include "results/CoachExport.h"
#include "screens/ScreenLoader.h"
#include "session/Session.h"
#include "widgets/SymbolSheet.h"
#include "widgets/TrendChart.h"

#include <QComboBox>
#include <QDir>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>

namespace {

constexpr char ExportFileName[] = "Statistics";
constexpr int ConfusionsShown = 10;
constexpr double PercentPerUnit = 100.0;
constexpr double MsPerSecond = 1000.0;

// The kinds in the order of the kind box.
constexpr SymbolKind KindsInBox[] = {SymbolKind::Description, SymbolKind::MapSymbol, SymbolKind::Line};

const QColor NeverSeenTint(236, 236, 236);
const QColor WeakTint(255, 168, 160);
const QColor LearningTint(255, 226, 130);
const QColor KnownTint(166, 222, 166);

// Tiles fit the pictures of each kind: a font symbol is square, a whole line wide and low.
QSize tileSizeOf(SymbolKind kind)
{
    switch (kind) {
    case SymbolKind::Line:
        return {120, 56};
    case SymbolKind::MapSymbol:
        return {64, 64};
    default:
        return {48, 48};
    }
}

QString percent(double fraction)
{
    return QString::number(qRound(fraction * PercentPerUnit));
}

} // namespace

ProgressViewer::ProgressViewer(Session& session) : QDialog(nullptr), m_session(session)
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    ScreenLoader::load(this, QStringLiteral("TProgress"));
    moveToScreenCentre(this);
    setFixedSize(size());
    m_kinds = bindControl<QComboBox>(this, QStringLiteral("KindBox"));
    m_sheet = bindControl<SymbolSheet>(this, QStringLiteral("SymbolSheet"));
    m_accuracyChart = bindControl<TrendChart>(this, QStringLiteral("AccuracyChart"));
    m_timeChart = bindControl<TrendChart>(this, QStringLiteral("TimeChart"));
    m_confusions = bindControl<QListWidget>(this, QStringLiteral("ConfusionList"));
    const std::pair<const char*, int> keys[] = {{"NeverSeenKey", StringId::NeverSeen},
                                                {"WeakKey", StringId::WeakSymbol},
                                                {"LearningKey", StringId::LearningSymbol},
                                                {"KnownKey", StringId::KnownSymbol}};
    for (int mastery = 0; mastery < 4; ++mastery) {
        auto* key = bindControl<QLabel>(this, QString::fromLatin1(keys[mastery].first));
        key->setText(LoadString(keys[mastery].second));
        setBackgroundColor(key, tintOf(mastery));
    }
    connect(m_kinds, &QComboBox::activated, this, &ProgressViewer::refresh);
    connect(bindControl<QPushButton>(this, QStringLiteral("DrillPracticeButton")), &QPushButton::clicked,
            this, [this] { playDrill(false); });
    connect(bindControl<QPushButton>(this, QStringLiteral("DrillTestButton")), &QPushButton::clicked, this,
            [this] { playDrill(true); });
    connect(bindControl<QPushButton>(this, QStringLiteral("ExportButton")), &QPushButton::clicked, this,
            &ProgressViewer::askForExport);
    connect(bindControl<QPushButton>(this, QStringLiteral("CloseButton")), &QPushButton::clicked, this,
            &ProgressViewer::accept);
}

ProgressViewer::~ProgressViewer() = default;

QColor ProgressViewer::tintOf(int mastery)
{
    switch (mastery) {
    case SymbolStats::Weak:
        return WeakTint;
    case SymbolStats::Learning:
        return LearningTint;
    case SymbolStats::Known:
        return KnownTint;
    default:
        return NeverSeenTint;
    }
}

SymbolKind ProgressViewer::kind() const
{
    const int index = std::clamp(m_kinds->currentIndex(), 0, int(std::size(KindsInBox)) - 1);
    return KindsInBox[index];
}

void ProgressViewer::setKind(SymbolKind kind)
{
    for (int i = 0; i < int(std::size(KindsInBox)); ++i) {
        if (KindsInBox[i] == kind)
            m_kinds->setCurrentIndex(i);
    }
    refresh();
}

void ProgressViewer::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    refresh();
}

void ProgressViewer::refresh()
{
    const SymbolKind k = kind();
    QList<SymbolStats> stats;
    QList<Confusion> confusions;
    QList<DayStats> days;
    AnswerStore* store = m_session.answers();
    if (store && store->openIfPresent()) {
        try {
            stats = store->symbols(k);
            confusions = store->confusions(k, ConfusionsShown);
            days = store->days(k);
        } catch (const AppError& error) {
            store->disable(error);
        }
    }
    std::shared_ptr<SymbolNames> names;
    try {
        names = std::make_shared<SymbolNames>(k);
    } catch (const AppError& error) {
        MessageBoxes::showError(error);
        names = std::make_shared<SymbolNames>(SymbolNames::none()); // names are the numbers
    }

    // the sheet: every symbol of the kind, in the text file's order
    QHash<qint32, const SymbolStats*> byValue;
    for (const SymbolStats& s : std::as_const(stats))
        byValue.insert(s.value, &s);
    const QList<qint32> values = names->symbols(k);
    QList<SymbolSheet::Tile> tiles;
    tiles.reserve(values.size());
    const QString summary = LoadString(StringId::SymbolSummary);
    for (const qint32 value : values) {
        const SymbolStats* s = byValue.value(value);
        const int mastery = s ? s->mastery() : SymbolStats::NeverSeen;
        QString tip = QString::number(value) + QLatin1Char(' ') + names->name(k, value) + QLatin1Char('\n');
        if (s)
            tip += summary.arg(s->attempts)
                       .arg(percent(s->attempts > 0 ? double(s->correct) / s->attempts : 0))
                       .arg(s->meanMs() / MsPerSecond, 0, 'f', 1);
        else
            tip += LoadString(StringId::SymbolNeverAnswered);
        tiles.append({tintOf(mastery), tip});
    }
    // drawn as the board draws them (its symbol font and colour), kept while the sheet shows them
    const auto pictures =
        std::make_shared<QuizPictures>(m_session.symbolFont(), devicePixelRatioF(), m_session.symbolColour());
    m_sheet->setTiles(tiles, tileSizeOf(k), [pictures, k, values](int tile) {
        return pictures->picture(k, values.at(tile), QuizFace::Picture);
    });

    // the charts: finished rounds only, as only they have a time to compare; one point for each
    // day, the mean of its rounds, however many rounds were played
    QList<QPointF> accuracy;
    QList<QPointF> times;
    accuracy.reserve(days.size());
    times.reserve(days.size());
    for (const DayStats& d : std::as_const(days)) {
        accuracy.append(QPointF(double(d.day), d.meanAccuracy * PercentPerUnit));
        times.append(QPointF(double(d.day), d.meanElapsedMs / MsPerSecond));
    }
    const QString noRounds = LoadString(StringId::NoRoundsYet);
    m_accuracyChart->setSeries(LoadString(StringId::AccuracyChartTitle), accuracy, 0, PercentPerUnit,
                               noRounds);
    m_timeChart->setSeries(LoadString(StringId::TimeChartTitle), times, 0, 0, noRounds);

    m_confusions->clear();
    const QString line = LoadString(StringId::ConfusionLine);
    const QString once = LoadString(StringId::ConfusionOnce);
    for (const Confusion& c : std::as_const(confusions)) {
        const QString pressed = names->name(k, c.pressed);
        const QString target = names->name(k, c.target);
        m_confusions->addItem(c.count == 1 ? once.arg(pressed, target)
                                           : line.arg(pressed, target).arg(c.count));
    }
    if (confusions.isEmpty())
        m_confusions->addItem(LoadString(StringId::NoConfusionsYet));
}

bool ProgressViewer::exportTo(const QString& path)
{
    AnswerStore* store = m_session.answers();
    try {
        if (store && !store->disabled() && QFile::exists(store->filePath()))
            store->open();
        const SymbolNames names;
        const SymbolNumbers numbers;
        AnswerStore none(QString{});
        const AnswerStore& source = store && store->isOpen() ? *store : none;
        CoachExport::writeStatistics(
            source, [&names](SymbolKind kind, qint32 value) { return names.name(kind, value); },
            [&numbers](SymbolKind kind, qint32 value) { return numbers.of(kind, value); }, path);
    } catch (const AppError& error) {
        MessageBoxes::showError(error);
        return false;
    }
    return true;
}

void ProgressViewer::askForExport()
{
    const QString path =
        askExportFile(this, LoadString(StringId::ExportCaption), QString::fromLatin1(ExportFileName));
    if (!path.isEmpty() && exportTo(path))
        MessageBoxes::showPlain(LoadString(StringId::StatisticsExported).arg(QDir::toNativeSeparators(path)));
}

void ProgressViewer::playDrill(bool timed)
{
    const quint8 mode = Mode::screenOf({kind(), timed});
    accept();
    m_session.setMode(mode);
    // Nothing started: the test selection shows what can be played (the first description test
    // when there are no answers yet).
    switch (m_session.playWeakSymbols()) {
    case Session::DrillStart::Started:
        break;
    case Session::DrillStart::NotPlayable:
        m_session.returnToMainMenu();
        break;
    default:
        m_session.showMode();
        break;
    }
}
