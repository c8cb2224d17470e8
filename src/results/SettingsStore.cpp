// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/SettingsStore.h"

#include "platform/AppError.h"
#include "platform/Registry.h"
#include "platform/SystemColors.h"

#include <QApplication>
#include <QPalette>
#include <QRect>
#include <algorithm>
#include <optional>

namespace SettingsStore {
namespace {

constexpr char TextHelp[] = "TextHelp";
constexpr char ShowRightCell[] = "ShowRightCell";
constexpr char Learn[] = "Learn";
constexpr char GraphicMode[] = "GraphicMode";
constexpr char HelpFormLeft[] = "HelpFormLeft";
constexpr char HelpFormTop[] = "HelpFormTop";
constexpr char HelpFormWidth[] = "HelpFormWidth";
constexpr char HelpFormHeight[] = "HelpFormHeight";
constexpr char MainFormLeft[] = "MainFormLeft";
constexpr char MainFormTop[] = "MainFormTop";
constexpr char FontName[] = "Name";
constexpr char FontSize[] = "Size";
constexpr char FontColor[] = "Color";
constexpr char FontBold[] = "StyleBold";
constexpr char FontItalic[] = "StyleItalic";

constexpr quint32 SystemColorFlag = 0x80000000u;
// Text help is readable between these font sizes (points).
constexpr int MinFontPoints = 6;
constexpr int MaxFontPoints = 28;
constexpr quint32 WindowTextIndex = 8;

QString name(const char* n)
{
    return QString::fromLatin1(n);
}

bool has(const RegistryKey& key, const char* n)
{
    return key.valueExists(name(n));
}

QColor systemColor(quint32 index)
{
    return SystemColors::fromIndex(index, QApplication::palette());
}

} // namespace

quint32 encodeColor(const QColor& color)
{
    if (color == systemColor(WindowTextIndex))
        return SystemColorFlag | WindowTextIndex;
    return static_cast<quint32>(color.red()) | static_cast<quint32>(color.green()) << 8 |
           static_cast<quint32>(color.blue()) << 16;
}

QColor decodeColor(quint32 value)
{
    if (value & SystemColorFlag)
        return systemColor(value & 0xFFu);
    return QColor(int(value & 0xFF), int(value >> 8 & 0xFF), int(value >> 16 & 0xFF));
}

void read(const SettingsBinding& b)
{
    std::optional<AppError> firstError;
    // Each setting on its own: one bad value does not stop the others.
    const auto apply = [&firstError](const std::function<void()>& setting) {
        try {
            setting();
        } catch (const AppError& error) {
            if (!firstError)
                firstError = error;
        }
    };
    {
        const RegistryKey key{name(MainKey)};
        if (has(key, TextHelp))
            apply([&] { b.setTextHelp(key.readBool(name(TextHelp))); });
        if (has(key, Learn))
            apply([&] { b.setLearning(key.readBool(name(Learn))); });
        if (has(key, HelpFormLeft) && has(key, HelpFormTop))
            apply([&] {
                b.moveHelpForm(
                    QPoint(key.readInteger(name(HelpFormLeft)), key.readInteger(name(HelpFormTop))));
            });
        if (has(key, MainFormLeft) && has(key, MainFormTop))
            apply([&] {
                b.moveMainForm(
                    QPoint(key.readInteger(name(MainFormLeft)), key.readInteger(name(MainFormTop))));
            });
        if (has(key, HelpFormWidth) && has(key, HelpFormHeight))
            apply([&] {
                b.resizeHelpForm(
                    QSize(key.readInteger(name(HelpFormWidth)), key.readInteger(name(HelpFormHeight))));
            });
        if (has(key, ShowRightCell) && b.setShowRightCell)
            apply([&] { b.setShowRightCell(key.readBool(name(ShowRightCell))); });
        if (has(key, GraphicMode))
            apply([&] { b.setGraphicMode(key.readBool(name(GraphicMode))); });
    }
    const RegistryKey font{name(FontKey)};
    if (has(font, FontName) && has(font, FontSize) && has(font, FontColor) && has(font, FontBold) &&
        has(font, FontItalic)) {
        apply([&] {
            QFont f = b.textFont();
            QColor color = b.textFontColor();
            apply([&] { f.setFamily(font.readString(name(FontName))); });
            apply([&] {
                f.setPointSize(std::clamp(font.readInteger(name(FontSize)), MinFontPoints, MaxFontPoints));
            });
            apply([&] { color = decodeColor(font.readDword(name(FontColor))); });
            apply([&] { f.setBold(font.readBool(name(FontBold))); });
            apply([&] { f.setItalic(font.readBool(name(FontItalic))); });
            f.setUnderline(false);
            f.setStrikeOut(false);
            b.setTextFont(f, color);
        });
    }
    if (firstError)
        throw *firstError;
}

void write(const SettingsBinding& b)
{
    {
        RegistryKey key{name(MainKey)};
        key.writeBool(name(TextHelp), b.textHelp());
        if (b.showRightCell)
            key.writeBool(name(ShowRightCell), b.showRightCell());
        key.writeBool(name(Learn), b.learning());
        key.writeBool(name(GraphicMode), b.graphicMode());
        const QRect help = b.helpFormGeometry();
        key.writeInteger(name(HelpFormLeft), help.left());
        key.writeInteger(name(HelpFormTop), help.top());
        key.writeInteger(name(HelpFormWidth), help.width());
        key.writeInteger(name(HelpFormHeight), help.height());
        const QPoint main = b.mainFormPosition();
        key.writeInteger(name(MainFormLeft), main.x());
        key.writeInteger(name(MainFormTop), main.y());
        key.commit();
    }
    RegistryKey font{name(FontKey)};
    const QFont f = b.textFont();
    font.writeString(name(FontName), f.family());
    // a font sized in pixels is stored with its size in points at the usual 96 pixels per inch
    const int points = f.pointSize() > 0 ? f.pointSize() : (f.pixelSize() * 72 + 48) / 96;
    font.writeInteger(name(FontSize), points);
    font.writeDword(name(FontColor), encodeColor(b.textFontColor()));
    font.writeBool(name(FontBold), f.bold());
    font.writeBool(name(FontItalic), f.italic());
    font.commit();
}

void writeLanguage(const QString& executablePath, const QString& code)
{
    RegistryKey key{name(LocalesKey)};
    key.writeString(executablePath, code);
    key.commit();
}

} // namespace SettingsStore
