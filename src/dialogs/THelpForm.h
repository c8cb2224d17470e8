// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QTextEdit;

// The floating tool window that explains one symbol: its caption names the symbol, its text box
// shows the symbol's additional text.
class THelpForm : public QWidget
{
    Q_OBJECT
public:
    THelpForm();

    // The board cell whose help is shown (-1 when closed).
    int ShownIndex() const { return m_shownIndex; }
    // Shows the help of the board cell at `index`: the symbol's name as the caption and its
    // explanation; a symbol without an explanation closes the window.
    void ShowHelpFor(int index, const QString& name, const QString& text);
    void CloseHelp();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QTextEdit* m_text = nullptr;
    QWidget* m_bottomStrip = nullptr;
    int m_shownIndex = -1;
};
