#pragma once

#include <QtGlobal>

class THelpForm;

// What the game round needs of the window it runs in: the screen mode, the error count and the
// progress, the settings' text help box and the winner dialog.
class RoundHost
{
public:
    virtual ~RoundHost() = default;
    virtual quint8 CurrentMode() const = 0;
    virtual void setCurrentMode(quint8 mode) = 0;
    virtual void ShowMode() = 0;
    virtual void SetErrorCount(int n) = 0;
    virtual int ErrorCount() const = 0;
    virtual void SetProgress(int n) = 0;
    virtual int Progress() const = 0;
    virtual int MainMenuWidth() const = 0;
    // The settings dialog's "Show text help on images (no result ability)".
    virtual bool textHelpChecked() const = 0;
    virtual void showWinnerDialog() = 0;
    virtual THelpForm* helpForm() const = 0;
};
