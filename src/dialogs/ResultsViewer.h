// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "domain/SymbolKind.h"

#include <QDialog>

class QComboBox;
class QPushButton;
class ResultsGrid;
class Session;

// The results viewer: a category of tests, a test of its catalogue, and that test's ranked results.
class ResultsViewer : public QDialog
{
    Q_OBJECT
public:
    explicit ResultsViewer(Session& session);

    QComboBox* categories() const { return m_categories; }
    QComboBox* tests() const { return m_tests; }
    ResultsGrid* table() const { return m_table; }
    QPushButton* exportButton() const { return m_export; }

    // Writes every stored result to `path` for a coach (.xlsx a spreadsheet, else CSV); false
    // (after the message) when it fails.
    bool exportTo(const QString& path);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void clearRows();
    QString catalogueOf(int category) const;
    SymbolKind kindOf(int category) const;
    // The test number of a row of the test list (its catalogue's tests, then the others); 0 for none.
    qint32 testNumberAt(int row) const;
    bool loadCategory(int category);
    void showResults(int test);
    void askForExport();

    Session& m_session;
    QComboBox* m_categories = nullptr;
    QComboBox* m_tests = nullptr;
    ResultsGrid* m_table = nullptr;
    QPushButton* m_export = nullptr;
    // The tests of the category shown that no catalogue lists (its quick quizzes, then its drill),
    // listed after the catalogue's tests.
    QList<qint32> m_otherTestNumbers;
};
