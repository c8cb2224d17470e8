// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/QuickQuizDialog.h"

#include "content/Language.h"
#include "learning/QuizContent.h"
#include "learning/QuizPictures.h"
#include "learning/QuizRecorder.h"
#include "platform/AppError.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "results/AnswerStore.h"
#include "screens/ScreenLoader.h"
#include "session/Session.h"
#include "widgets/QuizChoice.h"

#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QUrl>

namespace {

// The kinds in the order of the kind box.
constexpr SymbolKind KindsInBox[] = {SymbolKind::Description, SymbolKind::MapSymbol, SymbolKind::Line};
constexpr int Countdowns[] = {0, 5, 10, 20};
constexpr int CountdownSteps = 1000;
// A question's picture fills its place, enlarged at most this much.
constexpr qreal MaxQuestionEnlargement = 2.0;
// Pictures of the summary's missed questions are at most this high.
constexpr int SummaryPictureHeight = 64;
const QColor Paper(255, 255, 255);
const QColor RightText(0, 128, 0);
const QColor WrongText(200, 0, 0);

QString coloured(const QString& text, const QColor& colour)
{
    return QStringLiteral("<span style=\"color:%1\"><b>%2</b></span>")
        .arg(colour.name(), text.toHtmlEscaped());
}

} // namespace

QuickQuizDialog::QuickQuizDialog(Session& session) : QDialog(nullptr), m_session(session)
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    ScreenLoader::load(this, QStringLiteral("TQuickQuiz"));
    moveToScreenCentre(this);
    setFixedSize(size());
    bindControls();
    if (m_session.answers())
        m_recorder = std::make_unique<QuizRecorder>(m_quiz, *m_session.answers());
    m_countdown.setInterval(CountdownTickMs);
    m_judgementShown.setSingleShot(true);
    connect(&m_countdown, &QTimer::timeout, this, &QuickQuizDialog::tick);
    connect(&m_judgementShown, &QTimer::timeout, &m_quiz, &QuickQuiz::next);
    connect(&m_quiz, &QuickQuiz::asked, this, &QuickQuizDialog::asked);
    connect(&m_quiz, &QuickQuiz::judged, this, &QuickQuizDialog::judged);
    connect(&m_quiz, &QuickQuiz::ended, this, &QuickQuizDialog::ended);
}

QuickQuizDialog::~QuickQuizDialog() = default;

void QuickQuizDialog::bindControls()
{
    m_pages = bindControl<QStackedWidget>(this, QStringLiteral("Pages"));
    m_setupPage = bindControl<QWidget>(this, QStringLiteral("SetupPage"));
    m_playPage = bindControl<QWidget>(this, QStringLiteral("PlayPage"));
    m_summaryPage = bindControl<QWidget>(this, QStringLiteral("SummaryPage"));
    m_kinds = bindControl<QComboBox>(this, QStringLiteral("KindBox"));
    m_directions = bindControl<QListWidget>(this, QStringLiteral("DirectionList"));
    m_lengths = {bindControl<QRadioButton>(this, QStringLiteral("Length10")),
                 bindControl<QRadioButton>(this, QStringLiteral("Length20")),
                 bindControl<QRadioButton>(this, QStringLiteral("Length40"))};
    m_countdowns = bindControl<QComboBox>(this, QStringLiteral("CountdownBox"));
    m_start = bindControl<QPushButton>(this, QStringLiteral("StartButton"));
    m_progress = bindControl<QLabel>(this, QStringLiteral("ProgressLabel"));
    m_countdownBar = bindControl<QProgressBar>(this, QStringLiteral("CountdownBar"));
    m_prompt = bindControl<QLabel>(this, QStringLiteral("PromptLabel"));
    m_question = bindControl<QLabel>(this, QStringLiteral("QuestionView"));
    for (int i = 0; i < QuickQuestion::ChoiceCount; ++i) {
        m_choices[size_t(i)] = bindControl<QuizChoice>(this, QStringLiteral("Choice%1").arg(i + 1));
        connect(m_choices[size_t(i)], &QuizChoice::clicked, this, [this, i] { m_quiz.choose(i); });
    }
    m_feedback = bindControl<QLabel>(this, QStringLiteral("FeedbackLabel"));
    m_feedback->setTextFormat(Qt::RichText);
    m_next = bindControl<QPushButton>(this, QStringLiteral("NextButton"));
    m_summaryTitle = bindControl<QLabel>(this, QStringLiteral("SummaryTitle"));
    m_missed = bindControl<QTextBrowser>(this, QStringLiteral("MissedView"));
    m_again = bindControl<QPushButton>(this, QStringLiteral("AgainButton"));
    m_countdownBar->setRange(0, CountdownSteps);
    // the question stands on white, as on a sheet or a map
    setBackgroundColor(m_question, Paper);

    connect(m_kinds, &QComboBox::activated, this, &QuickQuizDialog::fillDirections);
    connect(m_start, &QPushButton::clicked, this, &QuickQuizDialog::start);
    connect(bindControl<QPushButton>(this, QStringLiteral("CloseButton")), &QPushButton::clicked, this,
            &QuickQuizDialog::reject);
    connect(bindControl<QPushButton>(this, QStringLiteral("StopButton")), &QPushButton::clicked, &m_quiz,
            &QuickQuiz::stop);
    connect(m_next, &QPushButton::clicked, this, [this] {
        m_judgementShown.stop();
        m_quiz.next();
    });
    connect(m_again, &QPushButton::clicked, this, &QuickQuizDialog::start);
    connect(bindControl<QPushButton>(this, QStringLiteral("SetupButton")), &QPushButton::clicked, this,
            &QuickQuizDialog::showSetup);
    connect(m_directions, &QListWidget::itemDoubleClicked, this, &QuickQuizDialog::start);
}

void QuickQuizDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // the learner's confusions change with every round, the content with the language: read anew
    AnswerStore* store = m_session.answers();
    if (store)
        store->openIfPresent();
    try {
        m_content = std::make_unique<QuizContent>(QuizContent::load(store));
    } catch (const AppError& error) {
        MessageBoxes::showError(error);
        m_content = std::make_unique<QuizContent>();
    }
    // the board's symbol font
    m_pictures = std::make_unique<QuizPictures>(m_session.symbolFont(), devicePixelRatioF());
    fillDirections();
    showSetup();
}

SymbolKind QuickQuizDialog::chosenKind() const
{
    const int index = std::clamp(m_kinds->currentIndex(), 0, int(std::size(KindsInBox)) - 1);
    return KindsInBox[index];
}

int QuickQuizDialog::chosenLength() const
{
    for (size_t i = 0; i < m_lengths.size(); ++i) {
        if (m_lengths[i]->isChecked())
            return QuizDirection::Lengths[i];
    }
    return QuizDirection::Lengths[0];
}

int QuickQuizDialog::chosenCountdown() const
{
    return Countdowns[std::clamp(m_countdowns->currentIndex(), 0, int(std::size(Countdowns)) - 1)];
}

void QuickQuizDialog::fillDirections()
{
    const int previous = std::max(0, m_directions->currentRow());
    m_directions->clear();
    if (!m_content)
        return;
    const QuizMaker maker(*m_content);
    int first = -1;
    for (const QuizDirection& d : QuizDirection::ofKind(chosenKind())) {
        auto* item = new QListWidgetItem(LoadString(d.labelId()), m_directions);
        // a direction the content cannot ask is shown, but cannot be chosen
        if (maker.subjects(d).isEmpty())
            item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
        else if (first < 0 || d.index == previous)
            first = d.index;
    }
    m_directions->setCurrentRow(first);
    m_start->setEnabled(first >= 0);
}

void QuickQuizDialog::choose(SymbolKind kind, int direction, int length, int countdownSeconds)
{
    for (int i = 0; i < int(std::size(KindsInBox)); ++i) {
        if (KindsInBox[i] == kind)
            m_kinds->setCurrentIndex(i);
    }
    fillDirections();
    if (QListWidgetItem* item = m_directions->item(direction); item && item->flags() & Qt::ItemIsEnabled)
        m_directions->setCurrentRow(direction);
    for (size_t i = 0; i < m_lengths.size(); ++i)
        m_lengths[i]->setChecked(QuizDirection::Lengths[i] == length);
    for (int i = 0; i < int(std::size(Countdowns)); ++i) {
        if (Countdowns[i] == countdownSeconds)
            m_countdowns->setCurrentIndex(i);
    }
}

bool QuickQuizDialog::start()
{
    const QList<QuizDirection> directions = QuizDirection::ofKind(chosenKind());
    const int row = m_directions->currentRow();
    if (!m_content || row < 0 || row >= directions.size())
        return false;
    const QList<QuickQuestion> questions = QuizMaker(*m_content).questions(directions[row], chosenLength());
    if (questions.isEmpty())
        return false;
    m_quiz.start(questions, chosenCountdown());
    return true;
}

void QuickQuizDialog::showSetup()
{
    m_countdown.stop();
    m_judgementShown.stop();
    m_pages->setCurrentWidget(m_setupPage);
    m_start->setDefault(true);
    m_directions->setFocus();
}

QString QuickQuizDialog::nameOf(SymbolKind kind, qint32 value) const
{
    const QString name = m_content->name(kind, value);
    return name.isEmpty() ? QString::number(value) : name;
}

QImage QuickQuizDialog::imageOf(SymbolKind kind, qint32 value, QuizFace face) const
{
    return m_pictures ? m_pictures->picture(kind, value, face) : QImage();
}

QImage QuickQuizDialog::fitted(SymbolKind kind, qint32 value, QuizFace face, QSize area) const
{
    const QImage image = imageOf(kind, value, face);
    if (image.isNull())
        return image;
    const QSizeF natural = image.deviceIndependentSize();
    const qreal scale =
        std::min({area.width() / natural.width(), area.height() / natural.height(), MaxQuestionEnlargement});
    // a symbol of the font is drawn anew at the size it is shown, a picture of the library scaled
    const QImage drawn = m_pictures->picture(kind, value, face, scale);
    if (drawn.deviceIndependentSize().toSize() == (natural * scale).toSize())
        return drawn;
    const qreal ratio = devicePixelRatioF();
    QImage shown =
        image.scaled((natural * scale * ratio).toSize(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    shown.setDevicePixelRatio(ratio);
    return shown;
}

void QuickQuizDialog::showProgress()
{
    m_progress->setText(LoadString(StringId::QuizProgress)
                            .arg(m_quiz.position() + 1)
                            .arg(m_quiz.count())
                            .arg(m_quiz.rightCount()));
}

QString QuickQuizDialog::explanationOf(const QuickQuestion& q) const
{
    // for a pair of symbols the map symbol's explanation says what the right answer is and why
    const QuizDirection& d = q.direction;
    if (d.answerKind == SymbolKind::MapSymbol && d.kind != d.answerKind)
        return m_content->explanation(d.answerKind, q.choices[size_t(q.right)]);
    return m_content->explanation(d.kind, q.subject);
}

void QuickQuizDialog::asked()
{
    const QuickQuestion& q = m_quiz.current();
    const QuizDirection& d = q.direction;
    m_pages->setCurrentWidget(m_playPage);
    showProgress();
    m_prompt->setText(LoadString(d.promptId()));
    if (d.question == QuizFace::Text) {
        m_question->setText(nameOf(d.kind, q.subject));
    } else {
        m_question->setPixmap(QPixmap::fromImage(fitted(d.kind, q.subject, d.question, m_question->size())));
    }
    for (int i = 0; i < QuickQuestion::ChoiceCount; ++i) {
        QuizChoice* choice = m_choices[size_t(i)];
        if (d.answer == QuizFace::Text)
            choice->setText(nameOf(d.answerKind, q.choices[size_t(i)]));
        else
            choice->setPicture(imageOf(d.answerKind, q.choices[size_t(i)], d.answer));
        choice->setMark(QuizChoice::Mark::None);
        choice->setEnabled(true);
    }
    m_feedback->clear();
    m_next->hide();
    m_countdownBar->setVisible(m_quiz.countdownSeconds() > 0);
    m_countdownBar->setValue(CountdownSteps);
    if (m_quiz.countdownSeconds() > 0)
        m_countdown.start();
    // the keys 1 to 4 come to the dialog, not to a control of the setup
    setFocus();
}

void QuickQuizDialog::tick()
{
    m_quiz.tick();
    if (m_quiz.state() == QuickQuiz::State::Asking)
        m_countdownBar->setValue(qRound(m_quiz.countdownLeft() * CountdownSteps));
}

void QuickQuizDialog::judged(const QuickQuiz::Answer& answer)
{
    m_countdown.stop();
    const QuickQuestion& q = answer.question;
    const QuizDirection& d = q.direction;
    for (int i = 0; i < QuickQuestion::ChoiceCount; ++i) {
        QuizChoice* choice = m_choices[size_t(i)];
        choice->setEnabled(false);
        if (i == answer.chosen)
            choice->setMark(answer.right ? QuizChoice::Mark::Right : QuizChoice::Mark::Wrong);
        else if (i == q.right && !answer.right)
            choice->setMark(QuizChoice::Mark::Answer);
    }
    showProgress();
    if (answer.right) {
        m_feedback->setText(coloured(LoadString(StringId::QuizRight), RightText));
    } else {
        // what the right answer is and why: for a pair of symbols the map symbol's explanation says it
        const qint32 rightValue = q.choices[size_t(q.right)];
        const QString verdict =
            LoadString(answer.chosen == QuickQuiz::NoChoice ? StringId::QuizTimeUp : StringId::QuizWrong);
        m_feedback->setText(coloured(verdict, WrongText) + QStringLiteral("<br><b>") +
                            nameOf(d.answerKind, rightValue).toHtmlEscaped() + QStringLiteral("</b>: ") +
                            explanationOf(q).toHtmlEscaped());
    }
    m_next->show();
    m_judgementShown.start(answer.right ? RightShownMs : WrongShownMs);
}

void QuickQuizDialog::ended(bool finished)
{
    m_countdown.stop();
    m_judgementShown.stop();
    if (!finished) {
        showSetup();
        return;
    }
    showSummary();
    recordResult();
}

void QuickQuizDialog::recordResult()
{
    const QuizDirection& d = m_quiz.current().direction;
    FinishedRound result;
    result.time = m_quiz.totalTime();
    result.errors = m_quiz.errors();
    result.summary.kind = d.kind;
    result.summary.found = m_quiz.rightCount();
    result.summary.presses = static_cast<int>(m_quiz.answers().size());
    for (const QuickQuiz::Answer& a : m_quiz.answers()) {
        if (a.right)
            continue;
        const QuickQuestion& q = a.question;
        MissedSymbol missed;
        missed.name = nameOf(d.kind, q.subject);
        missed.picture = d.question == QuizFace::Text ? QImage() : imageOf(d.kind, q.subject, d.question);
        missed.unanswered = a.chosen == QuickQuiz::NoChoice;
        if (!missed.unanswered)
            missed.pressedName = nameOf(d.answerKind, q.choices[size_t(a.chosen)]);
        missed.wrongPresses = 1;
        result.summary.missed.append(missed);
    }
    result.test = {d.testNumber(chosenLength()), d.testName()};
    m_session.finishRound(result);
}

void QuickQuizDialog::showSummary()
{
    m_pages->setCurrentWidget(m_summaryPage);
    m_again->setDefault(true);
    m_summaryTitle->setText(LoadString(StringId::QuizFinished)
                                .arg(m_quiz.rightCount())
                                .arg(m_quiz.count())
                                .arg(formatMinutesSeconds(m_quiz.totalTime())));
    QTextDocument* document = m_missed->document();
    document->clear();
    QString html;
    int shown = 0;
    for (const QuickQuiz::Answer& a : m_quiz.answers()) {
        if (a.right)
            continue;
        const QuickQuestion& q = a.question;
        const QuizDirection& d = q.direction;
        const qint32 rightValue = q.choices[size_t(q.right)];
        // the question again, or for a question in words the picture that answers it
        const QImage image = d.question == QuizFace::Text ? imageOf(d.answerKind, rightValue, d.answer)
                                                          : imageOf(d.kind, q.subject, d.question);
        const QUrl url(QStringLiteral("quiz:missed/%1").arg(shown++));
        document->addResource(QTextDocument::ImageResource, url, image);
        const int height = std::min(SummaryPictureHeight, qRound(image.deviceIndependentSize().height()));
        const QString chosen =
            a.chosen == QuickQuiz::NoChoice
                ? LoadString(StringId::QuizNoAnswer)
                : LoadString(StringId::QuizYourAnswer).arg(nameOf(d.answerKind, q.choices[size_t(a.chosen)]));
        const QString explanation = explanationOf(q);
        html += QStringLiteral("<table cellspacing=\"6\"><tr><td valign=\"top\">");
        if (!image.isNull())
            html += QStringLiteral("<img src=\"%1\" height=\"%2\">").arg(url.toString()).arg(height);
        html += QStringLiteral("</td><td valign=\"top\">");
        if (d.question == QuizFace::Text)
            html += QStringLiteral("<i>%1</i><br>").arg(nameOf(d.kind, q.subject).toHtmlEscaped());
        html +=
            coloured(LoadString(StringId::QuizRightAnswer).arg(nameOf(d.answerKind, rightValue)), RightText) +
            QStringLiteral("<br>") + coloured(chosen, WrongText) + QStringLiteral("<br>") +
            explanation.toHtmlEscaped() + QStringLiteral("</td></tr></table>");
    }
    const QString heading = LoadString(shown > 0 ? StringId::QuizMissedHeading : StringId::QuizNothingMissed);
    m_missed->setHtml(QStringLiteral("<p><b>%1</b></p>").arg(heading.toHtmlEscaped()) + html);
}

void QuickQuizDialog::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    QWidget* page = m_pages->currentWidget();
    if (page == m_playPage) {
        if (key >= Qt::Key_1 && key < Qt::Key_1 + QuickQuestion::ChoiceCount) {
            m_quiz.choose(key - Qt::Key_1);
        } else if (enter || key == Qt::Key_Space) {
            if (m_quiz.state() == QuickQuiz::State::Judged) {
                m_judgementShown.stop();
                m_quiz.next();
            }
        } else if (key == Qt::Key_Escape) {
            m_quiz.stop();
        } else {
            QDialog::keyPressEvent(event);
        }
        return;
    }
    if (enter) {
        if (page == m_setupPage)
            start();
        else
            m_again->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void QuickQuizDialog::reject()
{
    // a run left by closing the window is kept as left
    m_quiz.stop();
    QDialog::reject();
}
