// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QHash>

class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class Session;
struct TTypesItem;

// The test-selection dialog: lists the tests of the catalogue of the current mode and has the
// session start the chosen one on the symbol grid.
class TStartDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TStartDlg(Session& session);

    int SelectedIndex() const { return m_selectedIndex; }
    // The first test of the list is offered next time (the drill had nothing to play).
    void offerFirstTest() { m_selectedIndex = 0; }
    // The session's test on the board (0 after a cancelled choice).
    QString CurrentTestName() const;
    qint32 CurrentTestNumber() const;
    QListWidget* list() const { return m_list; }
    // "Print...": the chosen test as a quiz, a handout of the mode's kind, a sheet from a file.
    QPushButton* printButton() const { return m_printButton; }
    QMenu* printMenu() const { return m_printMenu; }

    // The catalogue file of a mode ("TypesLeg." + code, ...); empty for modes without one.
    static QString catalogueFor(quint8 mode);

    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void activate();
    // Starts the drill: with no answers of the kind yet the list becomes the first description
    // test's; with nothing due the dialog stays.
    void playWeakSymbols();
    void startEntry(const TTypesItem& entry);
    void createPrintButton();
    void printQuiz();
    void printHandout();
    void printSheet();

    Session& m_session;
    QListWidget* m_list = nullptr;
    int m_selectedIndex = 0;
    // The test last chosen of each catalogue, offered again when that kind is chosen.
    QHash<QString, int> m_lastOfCatalogue;
    QLabel* m_instruction = nullptr;
    QPushButton* m_printButton = nullptr;
    QMenu* m_printMenu = nullptr;
    QAction* m_printQuizAction = nullptr;
};
