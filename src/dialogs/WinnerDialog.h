// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screens/MainWindow.h"

#include <QDialog>
#include <optional>

class QLabel;
class QListWidget;
struct RoundSummary;
class QLineEdit;
class QPushButton;
class ResultsGrid;
struct Screens;

// The winner dialog of a finished timed test: asks for the player's name, records the result and
// shows the test's ranked results with the new one highlighted.
class WinnerDialog : public QDialog
{
    Q_OBJECT
public:
    explicit WinnerDialog(Screens& screens);

    // The summary of a round ended with text help on: time, errors and what was missed, a note that
    // the result is not recorded, and the test's stored results; nothing is written.
    void showUnrecordedSummary();
    // Asks for the name and records a result that is not the main window's round (the quick
    // quiz's) under its own test number and name, then shows that test's ranking.
    void recordResult(qint32 testNumber, const QString& testName, const FinishedRound& result);

    QString playerName() const;
    // The time and errors of the result it showed last: the main window's round, or a quick quiz's.
    FinishedRound lastResult() const;
    ResultsGrid* table() const { return m_table; }
    bool showsTable() const;

    // Escape (or closing the window) while the name is asked leaves without a result, as leaving a
    // test does: only after "Yes" to the same question. Once the result is recorded, or when
    // nothing is to be recorded, it closes as the close button does.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Recorded
    {
        qint32 testNumber = 0;
        QString testName;
        FinishedRound result;
    };
    // The result to record: the main window's round (of the test selection's test), or another.
    FinishedRound result() const;
    void enterName();
    void confirm();
    void finish();
    void bindSummary();
    // Shows the round's accuracy and missed symbols below the strip or the table.
    void showSummary(const RoundSummary& summary, int top);

    Screens& m_screens;
    QLabel* m_time = nullptr;
    QLabel* m_errors = nullptr;
    QLineEdit* m_name = nullptr;
    QPushButton* m_confirm = nullptr;
    QPushButton* m_close = nullptr;
    ResultsGrid* m_table = nullptr;
    QLabel* m_prompt = nullptr;
    QString m_promptText;
    QLabel* m_accuracy = nullptr;
    QListWidget* m_missed = nullptr;
    bool m_unrecorded = false;
    std::optional<Recorded> m_other;
    // the quick quiz's result after its showing, until a round of the main window is shown
    std::optional<FinishedRound> m_lastOther;
};
