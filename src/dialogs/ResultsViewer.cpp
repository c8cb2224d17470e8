// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/ResultsViewer.h"

#include "content/Catalogue.h"
#include "content/CountedText.h"
#include "content/Language.h"
#include "dialogs/ExportFileDialog.h"
#include "dialogs/ResultsGrid.h"
#include "dialogs/ResultsTable.h"
#include "domain/TestNumbers.h"
#include "learning/QuizDirection.h"
#include "learning/TestNames.h"
#include "platform/AppError.h"
#include "platform/MessageBoxes.h"
#include "results/CoachExport.h"
#include "results/NameSlot.h"
#include "results/ResultsFile.h"
#include "screens/ScreenLoader.h"
#include "session/Session.h"

#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QPushButton>

namespace {
constexpr int InitialRows = 2;
constexpr int FullCategoryCount = 3;
const QList<int> ColumnWidths = {24, 379, 62, 65};
constexpr char ExportFileName[] = "Results";
// The export button, left of the OK button on its row.
constexpr QRect ExportButtonPlace(8, 376, 100, 25);
} // namespace

ResultsViewer::ResultsViewer(Session& session) : QDialog(nullptr), m_session(session)
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    ScreenLoader::load(this, QStringLiteral("TResultaty"));
    moveToScreenCentre(this);
    setFixedSize(size());
    m_categories = bindControl<QComboBox>(this, QStringLiteral("CategoryBox"));
    m_tests = bindControl<QComboBox>(this, QStringLiteral("TestBox"));
    m_table = bindControl<ResultsGrid>(this, QStringLiteral("ResultsGrid"));
    auto* ok = bindControl<QPushButton>(this, QStringLiteral("OkButton"));
    setUpResultsTable(m_table, ColumnWidths, InitialRows);
    // white cells, the fixed ones too
    QPalette palette = m_table->palette();
    palette.setColor(QPalette::Base, Qt::white);
    m_table->setPalette(palette);
    m_table->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView, QHeaderView::section { background-color: white; border: none; }\n"
                       "QHeaderView::section { padding-left: 3px; }"));
    connect(ok, &QPushButton::clicked, this, &ResultsViewer::accept);
    m_export = new QPushButton(LoadString(StringId::ExportResultsButton), this);
    m_export->setObjectName(QStringLiteral("ExportButton"));
    m_export->setGeometry(ExportButtonPlace);
    m_export->setFont(ok->font());
    connect(m_export, &QPushButton::clicked, this, &ResultsViewer::askForExport);
    connect(m_categories, &QComboBox::activated, this, [this](int category) {
        if (loadCategory(category))
            m_tests->setCurrentIndex(-1);
        // the rows of the kind before are not this kind's
        clearRows();
    });
    connect(m_tests, &QComboBox::activated, this, &ResultsViewer::showResults);
}

SymbolKind ResultsViewer::kindOf(int category) const
{
    const int offset = FullCategoryCount - m_categories->count();
    switch (category + offset) {
    case 0:
        return SymbolKind::MapSymbol;
    case 1:
        return SymbolKind::Description;
    default:
        return SymbolKind::Line;
    }
}

QString ResultsViewer::catalogueOf(int category) const
{
    return Session::catalogueFor(kindOf(category));
}

bool ResultsViewer::loadCategory(int category)
{
    try {
        ReadCatalogue(catalogueOf(category));
    } catch (const AppError& error) {
        MessageBoxes::showError(error);
        return false;
    }
    m_tests->clear();
    for (const TTypesItem& entry : std::as_const(Catalogue().Entries))
        m_tests->addItem(entry.TestName);
    // the category's quick quizzes, then its drill, last as in the test selection
    const SymbolKind kind = kindOf(category);
    m_otherTestNumbers.clear();
    for (const QuizDirection& direction : QuizDirection::ofKind(kind)) {
        // each length ranks apart; the blank before the name lines it up with the catalogue's
        // names, as the drill's
        for (const int questions : QuizDirection::Lengths) {
            m_tests->addItem(QLatin1Char(' ') +
                             LoadString(StringId::QuizLengthName).arg(direction.testName()).arg(questions));
            m_otherTestNumbers.append(direction.testNumber(questions));
        }
    }
    m_tests->addItem(Session::weakSymbolsName());
    m_otherTestNumbers.append(TestNumbers::drill(kind));
    return true;
}

qint32 ResultsViewer::testNumberAt(int row) const
{
    const int count = Catalogue().Count();
    if (row < 0 || row >= count + m_otherTestNumbers.size())
        return 0;
    return row < count ? Catalogue().Entries[row].TestNumber : m_otherTestNumbers[row - count];
}

void ResultsViewer::showResults(int test)
{
    const qint32 number = testNumberAt(test);
    if (number == 0)
        return;
    const FinishedRound& round = m_session.lastResult();
    TResultRecord current;
    current.PlayerName = NameSlot::cut(m_session.playerName());
    current.Time = round.time;
    current.Errors = round.errors;
    ShowTestResults(number, m_table, current);
}

void ResultsViewer::clearRows()
{
    blankResultRows(m_table);
    m_table->clearSelection();
    m_table->setCurrentIndex(QModelIndex());
}

void ResultsViewer::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_session.mapSymbolsOffered() && m_categories->count() == FullCategoryCount)
        m_categories->removeItem(0);
    clearRows();
    // the test played last (in the catalogue that holds it), else the first test of the first kind
    const qint32 played = m_session.lastPlayedTest();
    for (int category = 0; played != 0 && category < m_categories->count(); ++category) {
        if (!loadCategory(category))
            continue;
        // the catalogue's tests, then the category's quick quizzes and its drill
        for (int test = 0; test < m_tests->count(); ++test) {
            if (testNumberAt(test) == played) {
                m_categories->setCurrentIndex(category);
                m_tests->setCurrentIndex(test);
                showResults(test);
                return;
            }
        }
    }
    if (!loadCategory(0))
        return;
    m_categories->setCurrentIndex(0);
    m_tests->setCurrentIndex(m_tests->count() > 0 ? 0 : -1);
    showResults(0);
}

bool ResultsViewer::exportTo(const QString& path)
{
    try {
        // the tests named in the language shown, whatever the language they were played in
        const TestNames tests;
        int damaged = 0;
        const int rows = CoachExport::writeResults(resultsFileName(), path, &damaged, nullptr,
                                                   [&tests](qint32 number) { return tests.name(number); });
        QString said = countedText(StringId::ResultWritten, StringId::ResultsWritten, rows)
                           .arg(QDir::toNativeSeparators(path));
        if (damaged > 0)
            said += QLatin1Char('\n') +
                    countedText(StringId::DamagedResultLeftOut, StringId::DamagedResultsLeftOut, damaged);
        MessageBoxes::showPlain(said);
    } catch (const AppError& error) {
        MessageBoxes::showError(error);
        return false;
    }
    return true;
}

void ResultsViewer::askForExport()
{
    const QString path =
        askExportFile(this, LoadString(StringId::ExportResultsCaption), QString::fromLatin1(ExportFileName));
    if (!path.isEmpty())
        exportTo(path);
}
