#pragma once

#include <QDialog>

class QLabel;
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

    QString playerName() const;
    ResultsGrid* table() const { return m_table; }
    bool showsTable() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void enterName();
    void confirm();
    void finish();

    Screens& m_screens;
    QLabel* m_time = nullptr;
    QLabel* m_errors = nullptr;
    QLineEdit* m_name = nullptr;
    QPushButton* m_confirm = nullptr;
    QPushButton* m_close = nullptr;
    ResultsGrid* m_table = nullptr;
};
