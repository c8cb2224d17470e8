// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/THelpForm.h"

#include "screens/ScreenLoader.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QTextEdit>

namespace {
constexpr int BottomStripHeight = 12;
} // namespace

THelpForm::THelpForm()
{
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    ScreenLoader::load(this, QStringLiteral("THelpForm"));
    keepOnScreen(this);
    m_text = bindControl<QTextEdit>(this, QStringLiteral("HelpText"));
    m_bottomStrip = bindControl<QWidget>(this, QStringLiteral("BottomStrip"));
    // the window's colour is the tooltip colour throughout
    for (QWidget* w : {static_cast<QWidget*>(this), m_bottomStrip, m_text->viewport()})
        setBackgroundColor(w, palette().color(QPalette::ToolTipBase));
    m_text->viewport()->installEventFilter(this);
    m_text->installEventFilter(this);
}

void THelpForm::ShowHelpFor(int index, const QString& name, const QString& text)
{
    if (index < 0 || text.isEmpty()) {
        CloseHelp();
        return;
    }
    m_shownIndex = index;
    show();
    raise();
    // the symbol's name alone: its number in the content files means nothing to a learner
    setWindowTitle(name);
    m_text->clear();
    m_text->setPlainText(text);
}

void THelpForm::CloseHelp()
{
    hide();
    m_shownIndex = -1;
}

bool THelpForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        CloseHelp();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void THelpForm::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        CloseHelp();
        return;
    }
    QWidget::mousePressEvent(event);
}

void THelpForm::closeEvent(QCloseEvent* event)
{
    m_shownIndex = -1;
    QWidget::closeEvent(event);
}

void THelpForm::resizeEvent(QResizeEvent* event)
{
    // the text box fills the window above the bottom strip
    m_text->setGeometry(0, 0, width(), std::max(0, height() - BottomStripHeight));
    m_bottomStrip->setGeometry(0, height() - BottomStripHeight, width(), BottomStripHeight);
    QWidget::resizeEvent(event);
}

void THelpForm::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_bottomStrip->setFocus();
    QWidget::changeEvent(event);
}
