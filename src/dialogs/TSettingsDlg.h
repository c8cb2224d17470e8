// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QRadioButton;
class Session;
struct RoundRules;
struct SettingsBinding;

// The settings dialog: language, graphic or text display, the grid's text font, text help, and the
// two clean-up commands of the results file. Its creation reads the stored settings: the rules of
// play go to the session, the places of the windows to `windows` (the binding's window members).
class TSettingsDlg : public QDialog
{
    Q_OBJECT
public:
    TSettingsDlg(Session& session, const SettingsBinding& windows);
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
    // The session's rules with one changed.
    void changeRules(const std::function<void(RoundRules&)>& change);

    Session& m_session;
    std::unique_ptr<SettingsBinding> m_windows;
    QComboBox* m_languages = nullptr;
    QCheckBox* m_textHelp = nullptr;
    QCheckBox* m_showRightCell = nullptr;
    QRadioButton* m_graphic = nullptr;
    QRadioButton* m_text = nullptr;
    bool m_building = false;
};
