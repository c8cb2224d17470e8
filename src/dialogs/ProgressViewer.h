// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "domain/SymbolKind.h"

#include <QDialog>
#include <QImage>

class QComboBox;
class QLabel;
class QListWidget;
class SymbolNames;
class SymbolSheet;
class TrendChart;
class Session;

// "My progress": for one kind of symbols, a sheet of every symbol tinted by the learner's recent
// accuracy (never seen, weak, learning, known), charts of accuracy and time per round over the days,
// the pairs of symbols most often confused, the weak-symbol drill and the export for a coach.
class ProgressViewer : public QDialog
{
    Q_OBJECT
public:
    explicit ProgressViewer(Session& session);
    ~ProgressViewer() override;

    // The kind shown.
    SymbolKind kind() const;
    void setKind(SymbolKind kind);
    // Reads the answer store and the names again and shows them.
    void refresh();
    // Writes the statistics export to `path` (.xlsx a spreadsheet, else CSV); false (after the
    // message) when it fails.
    bool exportTo(const QString& path);
    // Closes the view and starts the drill of the kind shown (or offers what can be played).
    void playDrill(bool timed);

    SymbolSheet* sheet() const { return m_sheet; }
    TrendChart* accuracyChart() const { return m_accuracyChart; }
    TrendChart* timeChart() const { return m_timeChart; }
    QListWidget* confusionList() const { return m_confusions; }

    // The ground of a tile for each mastery (SymbolStats::Mastery).
    static QColor tintOf(int mastery);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void askForExport();

    Session& m_session;
    QComboBox* m_kinds = nullptr;
    SymbolSheet* m_sheet = nullptr;
    TrendChart* m_accuracyChart = nullptr;
    TrendChart* m_timeChart = nullptr;
    QListWidget* m_confusions = nullptr;
};
