// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QHash>

class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
struct Screens;
struct TTypesItem;

// The test-selection dialog: lists the tests of the catalogue of the current mode and starts the
// chosen one on the symbol grid.
class TStartDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TStartDlg(Screens& screens);

    int SelectedIndex() const { return m_selectedIndex; }
    // The test of the round started last (0 before the first); a cancelled choice keeps it.
    qint32 LastStartedTestNumber() const { return m_lastStarted; }
    // A test played without this dialog (a quick quiz) is the last one played too.
    void NoteTestPlayed(qint32 testNumber) { m_lastStarted = testNumber; }
    const QString& CurrentTestName() const { return m_currentTestName; }
    qint32 CurrentTestNumber() const { return m_currentTestNumber; }
    QListWidget* list() const { return m_list; }
    // "Print...": the chosen test as a quiz, a handout of the mode's kind, a sheet from a file.
    QPushButton* printButton() const { return m_printButton; }
    QMenu* printMenu() const { return m_printMenu; }

    // The catalogue file of a mode ("TypesLeg." + code, ...); empty for modes without one.
    static QString catalogueFor(quint8 mode);

    // Starts the drill "My weak symbols" of the current mode's kind. With no answers of that kind
    // yet it says so and offers the first description test instead (the mode becomes a description
    // mode and its first test is selected); with nothing due it says when something is. False when
    // no round started.
    bool playWeakSymbols();
    // The drill's name as the test lists show it.
    static QString weakSymbolsName();

    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void activate();
    void layOutGrid(const TTypesItem& entry);
    bool startEntry(const TTypesItem& entry);
    void createPrintButton();
    void printQuiz();
    void printHandout();
    void printSheet();

    Screens& m_screens;
    QListWidget* m_list = nullptr;
    int m_selectedIndex = 0;
    qint32 m_lastStarted = 0;
    // The test last chosen of each catalogue, offered again when that kind is chosen.
    QHash<QString, int> m_lastOfCatalogue;
    QLabel* m_instruction = nullptr;
    QPushButton* m_printButton = nullptr;
    QMenu* m_printMenu = nullptr;
    QAction* m_printQuizAction = nullptr;
    QString m_currentTestName;
    qint32 m_currentTestNumber = 0;
};
