// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QLabel;
class QPlainTextEdit;
class QWidget;

// The controls of the main window that the legend walkthrough and the legend quiz use, bound by
// the main window after its screen is loaded (the screen's names for them in brackets).
struct LegendControls
{
    QWidget* page = nullptr;            // the page "Learn general" (TabSheet1)
    QLabel* sheetPicture = nullptr;     // the description sheet's picture (Tabl1)
    QLabel* columnPicture = nullptr;    // a column's picture (Image3)
    QPlainTextEdit* stepText = nullptr; // the step's or question's text (Memo1)
    QLabel* note = nullptr;             // the note under the sheet (Label5)
    QLabel* title = nullptr;            // the title in the top panel (Label1)
    QWidget* nextButton = nullptr;      // "Next >>>" (NextButton)
    QWidget* backButton = nullptr;      // "<<< Back" (BackButton)
};
