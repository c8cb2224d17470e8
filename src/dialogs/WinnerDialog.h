// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "domain/FinishedRound.h"

#include <QDialog>

class QLabel;
class QListWidget;
struct RoundSummary;
class QLineEdit;
class QPushButton;
class ResultsGrid;
class Session;

// The winner dialog of a finished timed round (of the board or the quick quiz): asks for the
// player's name, records the result under the round's test and shows the test's ranked results
// with the new one highlighted.
class WinnerDialog : public QDialog
{
    Q_OBJECT
public:
    explicit WinnerDialog(Session& session);

    // Asks for the name and records `round` under its test, then shows that test's ranking.
    void present(const FinishedRound& round);
    // The summary of a round ended with text help on: time, errors and what was missed, a note that
    // the result is not recorded, and the test's stored results; nothing is written.
    void presentUnrecorded(const FinishedRound& round);

    QString playerName() const;
    ResultsGrid* table() const { return m_table; }
    bool showsTable() const;

    // Escape (or closing the window) while the name is asked leaves without a result, as leaving a
    // test does: only after "Yes" to the same question. Once the result is recorded, or when
    // nothing is to be recorded, it closes as the close button does.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void enterName();
    void confirm();
    void finish();
    void bindSummary();
    // Shows the round's accuracy and missed symbols below the strip or the table.
    void showSummary(const RoundSummary& summary, int top);

    Session& m_session;
    // the round shown
    FinishedRound m_round;
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
};
