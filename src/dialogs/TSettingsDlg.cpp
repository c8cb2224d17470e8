// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/TSettingsDlg.h"

#include "content/Language.h"
#include "platform/AppError.h"
#include "platform/DataFolder.h"
#include "platform/Desktop.h"
#include "platform/MessageBoxes.h"
#include "results/ResultsFile.h"
#include "results/SettingsStore.h"
#include "screens/ScreenLoader.h"
#include "session/Session.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The box "show the right symbol after a wrong press", where a screen without it gets it.
constexpr int TextHelpTop = 168;
constexpr QRect ShowRightCellGeometry(8, 188, 413, 17);

TSettingsDlg::Restart& restartHook()
{
    static TSettingsDlg::Restart hook;
    return hook;
}

void restartProgram()
{
    if (restartHook()) {
        restartHook()();
        return;
    }
    Desktop::startNewInstance();
    // the running program ends at once: no close-time writing in this run
    QCoreApplication::exit(0);
}

} // namespace

TSettingsDlg::TSettingsDlg(Session& session, const SettingsBinding& windows)
    : QDialog(nullptr), m_session(session), m_windows(std::make_unique<SettingsBinding>(windows))
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    ScreenLoader::load(this, QStringLiteral("TSettingsDlg"));
    moveToScreenCentre(this);
    setFixedSize(size());
    m_languages = bindControl<QComboBox>(this, QStringLiteral("LanguageBox"));
    // the label names the list, for a screen reader and for the label's Alt letter
    if (auto* languageLabel = findChild<QLabel*>(QStringLiteral("LanguageLabel")))
        languageLabel->setBuddy(m_languages);
    m_textHelp = bindControl<QCheckBox>(this, QStringLiteral("TextHelpBox"));
    bindShowRightCell();
    m_graphic = bindControl<QRadioButton>(this, QStringLiteral("GraphicButton"));
    m_text = bindControl<QRadioButton>(this, QStringLiteral("TextButton"));
    auto* ok = bindControl<QPushButton>(this, QStringLiteral("OkButton"));
    auto* font = bindControl<QPushButton>(this, QStringLiteral("FontButton"));
    auto* clear = bindControl<QPushButton>(this, QStringLiteral("ClearButton"));
    auto* trim = bindControl<QPushButton>(this, QStringLiteral("TrimButton"));
    auto* resultsFolder = bindControl<QLabel>(this, QStringLiteral("ResultsFolderLabel"));
    // a long path wraps after its separators
    const QString folder = QDir::toNativeSeparators(DataFolder::path());
    resultsFolder->setText(LoadString(StringId::ResultsFolder) + QLatin1Char('\n') + folder);
    resultsFolder->setToolTip(folder);

    connect(m_textHelp, &QCheckBox::clicked, this,
            [this](bool on) { changeRules([on](RoundRules& r) { r.textHelp = on; }); });
    connect(m_showRightCell, &QCheckBox::toggled, this,
            [this](bool on) { changeRules([on](RoundRules& r) { r.showRightCellAfterMiss = on; }); });
    connect(ok, &QPushButton::clicked, this, [this] {
        const bool textOnly = m_text->isChecked();
        changeRules([textOnly](RoundRules& r) { r.textOnly = textOnly; });
        accept();
    });
    connect(font, &QPushButton::clicked, this, &TSettingsDlg::chooseFont);
    connect(clear, &QPushButton::clicked, this, &TSettingsDlg::clearAllResults);
    connect(trim, &QPushButton::clicked, this, &TSettingsDlg::keepBestResults);
    connect(m_languages, &QComboBox::activated, this, &TSettingsDlg::languagePicked);

    try {
        SettingsStore::read(binding());
    } catch (const AppError& error) {
        // a bad stored value is named; every other value was applied
        MessageBoxes::showError(error);
    }
    buildLanguageList();
}

void TSettingsDlg::changeRules(const std::function<void(RoundRules&)>& change)
{
    RoundRules rules = m_session.rules();
    change(rules);
    m_session.setRules(rules);
}

TSettingsDlg::~TSettingsDlg() = default;

void TSettingsDlg::setRestart(Restart restart)
{
    restartHook() = std::move(restart);
}

bool TSettingsDlg::textHelpChecked() const
{
    return m_textHelp->isChecked();
}

bool TSettingsDlg::showRightCellChecked() const
{
    return m_showRightCell->isChecked();
}

void TSettingsDlg::bindShowRightCell()
{
    // Screens of older language modules lack the box: it is made here then, below the others.
    m_showRightCell = findChild<QCheckBox*>(QStringLiteral("ShowRightCellBox"));
    if (!m_showRightCell) {
        m_showRightCell = new QCheckBox(this);
        m_showRightCell->setObjectName(QStringLiteral("ShowRightCellBox"));
        m_showRightCell->setGeometry(ShowRightCellGeometry);
        setFixedSize(width(), height() + ShowRightCellGeometry.top() - TextHelpTop);
    }
    const QString caption = LoadString(StringId::ShowRightCellOption);
    if (!caption.isEmpty())
        m_showRightCell->setText(caption);
}

SettingsBinding TSettingsDlg::binding()
{
    // the windows' places and the main menu's selection come with the windows' part
    SettingsBinding b = *m_windows;
    b.setTextHelp = [this](bool on) {
        m_textHelp->setChecked(on);
        changeRules([on](RoundRules& r) { r.textHelp = on; });
    };
    b.textHelp = [this] { return m_textHelp->isChecked(); };
    b.setShowRightCell = [this](bool on) { m_showRightCell->setChecked(on); };
    b.showRightCell = [this] { return m_showRightCell->isChecked(); };
    b.setGraphicMode = [this](bool graphic) {
        (graphic ? m_graphic : m_text)->setChecked(true);
        const bool textOnly = m_text->isChecked();
        changeRules([textOnly](RoundRules& r) { r.textOnly = textOnly; });
    };
    b.graphicMode = [this] { return m_graphic->isChecked(); };
    b.setTextFont = [this](const QFont& f, const QColor& c) { m_session.setTextFont(f, c); };
    b.textFont = [this] { return m_session.textFont(); };
    b.textFontColor = [this] { return m_session.textFontColour(); };
    return b;
}

bool TSettingsDlg::writeSettings()
{
    try {
        SettingsStore::write(binding());
        return true;
    } catch (const AppError& error) {
        MessageBoxes::showError(error);
        return false;
    }
}

void TSettingsDlg::buildLanguageList()
{
    m_building = true;
    m_languages->clear();
    // the language modules beside the program, sorted by file name, each listed by the name it
    // gives its language (its code when it gives none); the entry keeps the code
    const QDir dir(Desktop::programFolder());
    const QStringList modules = dir.entryList({QStringLiteral("quill.*")}, QDir::Files | QDir::NoDotAndDotDot,
                                              QDir::Name | QDir::IgnoreCase);
    const QString current = LanguageCode();
    for (const QString& module : modules) {
        const QString extension = QFileInfo(module).suffix();
        if (extension == QLatin1String("exe"))
            continue;
        const QString name = Language::moduleLanguageName(dir.filePath(module));
        m_languages->addItem(name.isEmpty() ? extension : name, extension);
        if (extension == current)
            m_languages->setCurrentIndex(m_languages->count() - 1);
    }
    if (m_languages->findData(current, Qt::UserRole, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0)
        m_languages->setCurrentIndex(-1);
    m_building = false;
}

void TSettingsDlg::languagePicked(int index)
{
    if (m_building || index < 0)
        return;
    const QString code = m_languages->itemData(index).toString();
    try {
        SettingsStore::writeLanguage(Desktop::executablePath(), code);
    } catch (const AppError& error) {
        MessageBoxes::showError(error);
        return;
    }
    restartProgram();
}

void TSettingsDlg::clearAllResults()
{
    // A club's results go with one click only when the user says so (the default is No).
    if (!QFileInfo::exists(resultsFileName()) ||
        !MessageBoxes::confirm(LoadString(StringId::ClearAllQuestion)))
        return;
    try {
        ClearResults();
    } catch (const AppError& error) {
        MessageBoxes::showError(error);
        return;
    }
    MessageBoxes::showPlain(LoadString(StringId::ClearAllDone));
}

void TSettingsDlg::keepBestResults()
{
    try {
        const int removed = CountResultsBeyondBest();
        if (removed == 0) {
            MessageBoxes::showPlain(LoadString(StringId::TrimNothing));
            return;
        }
        if (!MessageBoxes::confirm(LoadString(StringId::TrimQuestion).arg(removed)))
            return;
        MessageBoxes::showPlain(LoadString(StringId::TrimDone).arg(KeepBestResults()));
    } catch (const AppError& error) {
        MessageBoxes::showError(error);
    }
}

void TSettingsDlg::chooseFont()
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, m_session.textFont(), this);
    if (ok)
        m_session.setTextFont(font);
}
