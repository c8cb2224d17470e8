// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QRadioButton;
struct Screens;
struct SettingsBinding;

// The settings dialog: language, graphic or text display, the grid's text font, text help, and the
// two clean-up commands of the results file. Its creation reads the stored settings.
class TSettingsDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TSettingsDlg(Screens& screens);
    ~TSettingsDlg() override;

    bool textHelpChecked() const;
    // "After a wrong press, show the right symbol for a moment" (off by default).
    bool showRightCellChecked() const;
    QComboBox* languageList() const { return m_languages; }

    // Writes the stored settings at the main window's close; false (after the message) when a value
    // could not be written.
    bool writeSettings();

    // Changing the language ends the program at once; tests replace the restart.
    using Restart = std::function<void()>;
    static void setRestart(Restart restart);

private:
    void buildLanguageList();
    void languagePicked(int index);
    void chooseFont();
    SettingsBinding binding();
    void bindShowRightCell();
    void clearAllResults();
    void keepBestResults();

    Screens& m_screens;
    QComboBox* m_languages = nullptr;
    QCheckBox* m_textHelp = nullptr;
    QCheckBox* m_showRightCell = nullptr;
    QRadioButton* m_graphic = nullptr;
    QRadioButton* m_text = nullptr;
    bool m_building = false;
};
