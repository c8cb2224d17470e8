// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QTextEdit;
struct Screens;

// The floating tool window that explains one symbol: its caption names the symbol, its text box
// shows the symbol's additional text.
class THelpForm : public QWidget
{
    Q_OBJECT
public:
    explicit THelpForm(Screens& screens);

    int ShownIndex() const { return m_shownIndex; }
    void ShowHelpFor(int index);
    void ShowHelp();
    void CloseHelp();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    Screens& m_screens;
    QTextEdit* m_text = nullptr;
    QWidget* m_bottomStrip = nullptr;
    int m_shownIndex = -1;
};
