// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "domain/SymbolKind.h"
#include "learning/QuickQuiz.h"

#include <QDialog>
#include <QTimer>
#include <array>
#include <memory>

class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTextBrowser;
class QuizChoice;
class QuizContent;
class QuizPictures;
class QuizRecorder;
class Session;

// The quick quiz: the learner picks a kind of symbols, a direction (what is asked and what is
// answered), a length and a countdown, then answers one question at a time with the keys 1 to 4 or
// a click. A judgement shows for a moment (a wrong or missed answer longer, with the right one
// outlined and explained); the end records the result in the ranking of the direction through the
// winner dialog and shows every missed question again.
class QuickQuizDialog : public QDialog
{
    Q_OBJECT
public:
    explicit QuickQuizDialog(Session& session);
    ~QuickQuizDialog() override;

    // The setup's choices; a direction the content cannot ask is not offered.
    void choose(SymbolKind kind, int direction, int length, int countdownSeconds);
    // Starts the quiz chosen on the setup page; false when its direction has nothing to ask.
    bool start();

    QuickQuiz& quiz() { return m_quiz; }
    QStackedWidget* pages() const { return m_pages; }
    QuizChoice* choice(int i) const { return m_choices.at(size_t(i)); }
    QTextBrowser* missedView() const { return m_missed; }

    // How long a judgement stays before the next question comes.
    static constexpr int RightShownMs = 900;
    static constexpr int WrongShownMs = 4000;
    // The countdown bar is brought up to date this often.
    static constexpr int CountdownTickMs = 50;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void bindControls();
    void fillDirections();
    SymbolKind chosenKind() const;
    int chosenLength() const;
    int chosenCountdown() const;
    void showSetup();
    void showProgress();
    // What the right answer of the question is and why.
    QString explanationOf(const QuickQuestion& q) const;
    void asked();
    void judged(const QuickQuiz::Answer& answer);
    void ended(bool finished);
    void tick();
    void recordResult();
    void showSummary();
    QString nameOf(SymbolKind kind, qint32 value) const;
    QImage imageOf(SymbolKind kind, qint32 value, QuizFace face) const;
    // The picture of a symbol as large as it fits into `area`, enlarged at most twice.
    QImage fitted(SymbolKind kind, qint32 value, QuizFace face, QSize area) const;

    Session& m_session;
    QuickQuiz m_quiz;
    std::unique_ptr<QuizContent> m_content;
    std::unique_ptr<QuizPictures> m_pictures;
    std::unique_ptr<QuizRecorder> m_recorder;
    QTimer m_countdown;
    QTimer m_judgementShown;

    QStackedWidget* m_pages = nullptr;
    QWidget* m_setupPage = nullptr;
    QWidget* m_playPage = nullptr;
    QWidget* m_summaryPage = nullptr;
    QComboBox* m_kinds = nullptr;
    QListWidget* m_directions = nullptr;
    std::array<QRadioButton*, 3> m_lengths{};
    QComboBox* m_countdowns = nullptr;
    QPushButton* m_start = nullptr;
    QLabel* m_progress = nullptr;
    QProgressBar* m_countdownBar = nullptr;
    QLabel* m_prompt = nullptr;
    QLabel* m_question = nullptr;
    std::array<QuizChoice*, QuickQuestion::ChoiceCount> m_choices{};
    QLabel* m_feedback = nullptr;
    QPushButton* m_next = nullptr;
    QLabel* m_summaryTitle = nullptr;
    QTextBrowser* m_missed = nullptr;
    QPushButton* m_again = nullptr;
};
