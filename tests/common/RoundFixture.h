// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/TForm1.h"
#include "app/WindowSet.h"
#include "common/TempWorkDir.h"
#include "content/Language.h"
#include "dialogs/TStartDlg.h"
#include "game/TMyDrawGrid.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/Random.h"
#include "platform/Registry.h"

#include <QListWidget>
#include <QObject>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

// The whole window set on a copy of the ready program folder, with a clock and a random source
// the test drives, and the board's moves a player makes. Test classes derive from it and call
// setUpCase() from initTestCase(), setUp() from init() and tearDown() from cleanup().
class RoundFixture : public QObject
{
protected:
    void setUpCase()
    {
        Language::activateBuiltIn();
        RegistryKey::setStoreDirectory(m_store.path());
        MessageBoxes::setHandler([this](MessageBoxes::Kind, const QString& text) { m_messages << text; });
    }
    void setUp()
    {
        QFile::remove(RegistryKey::storeFile());
        m_messages.clear();
        m_draw = 0;
        setRandomOverride([this](int n) { return (m_draw++ * 7 + 3) % n; });
        setClockOverride([this] { return m_now; });
        m_dir = std::make_unique<TempWorkDir>();
        QVERIFY(m_dir->copyProgramFolder());
        m_windows = std::make_unique<WindowSet>();
        m_form = m_windows->form();
        m_grid = m_form->grid();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
    }
    void tearDown()
    {
        m_windows.reset();
        m_dir.reset();
        setRandomOverride({});
        setClockOverride({});
    }

    // Opens the test selection for `mode`, picks entry `row` (counted from the end when negative)
    // and confirms.
    void startTest(quint8 mode, int row)
    {
        TStartDlg* start = m_windows->screens().startDlg;
        QTimer::singleShot(0, start, [start, row] {
            start->list()->setCurrentRow(row < 0 ? start->list()->count() + row : row);
            start->accept();
        });
        m_form->setCurrentMode(mode);
        m_form->ShowMode();
    }
    QPoint cellCentre(int index) const
    {
        return m_grid->CellBounds(index % m_grid->ColCount(), index / m_grid->ColCount()).center();
    }
    // The first cell still on the board whose text is `text` (or, with `other`, is not); -1 if none.
    int cellWithText(const QString& text, bool other = false) const
    {
        for (int i = 0; i < m_grid->CellCount(); ++i) {
            const CellItem* item = m_grid->Item(i);
            if (!item->Cleared() && (item->Text == text) != other)
                return i;
        }
        return -1;
    }
    void press(int index) { QTest::mouseClick(m_grid, Qt::LeftButton, {}, cellCentre(index)); }

    QTemporaryDir m_store;
    std::unique_ptr<TempWorkDir> m_dir;
    std::unique_ptr<WindowSet> m_windows;
    TForm1* m_form = nullptr;
    TMyDrawGrid* m_grid = nullptr;
    double m_now = 45000.5;
    int m_draw = 0;
    QStringList m_messages;
};
