#pragma once

class QLabel;
class QPlainTextEdit;
class QWidget;

// The controls of the main window that the legend walkthrough and the legend quiz use, bound by
// the main window after its screen is loaded. Names are the controls' names in the screen.
struct LegendControls
{
    QWidget* TabSheet1 = nullptr;    // the page "Learn general"
    QLabel* Tabl1 = nullptr;         // table picture
    QLabel* Image3 = nullptr;        // column picture
    QPlainTextEdit* Memo1 = nullptr; // the step's or question's text
    QLabel* Label5 = nullptr;        // note label
    QLabel* Label1 = nullptr;        // title label of the top panel
    QWidget* NextButton = nullptr;   // "Next >>>"
    QWidget* BackButton = nullptr;   // "<<< Back"
};
