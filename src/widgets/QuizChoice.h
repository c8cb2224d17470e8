// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QWidget>

// One of the four answers of the quick quiz: its key number in the top left corner, a picture or a
// text, and how it was judged. A left press emits clicked() while the answer is enabled. The answer
// under the mouse is tinted neutrally, so that green and red say only right and wrong.
class QuizChoice : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int number READ number WRITE setNumber)

public:
    // Chosen and right (green), chosen and wrong (red), or the right answer that was not chosen
    // (outlined in green).
    enum class Mark { None, Right, Wrong, Answer };

    explicit QuizChoice(QWidget* parent = nullptr);

    int number() const { return m_number; }
    void setNumber(int number);
    // A picture replaces the text and the other way round.
    void setPicture(const QImage& picture);
    void setText(const QString& text);
    QImage picture() const { return m_picture; }
    QString text() const { return m_text; }
    Mark mark() const { return m_mark; }
    void setMark(Mark mark);

    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int m_number = 0;
    QImage m_picture;
    QString m_text;
    Mark m_mark = Mark::None;
    bool m_hovered = false;
};
