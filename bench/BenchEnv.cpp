// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchEnv.h"

#include "app/TForm1.h"
#include "app/WindowSet.h"
#include "content/Catalogue.h"
#include "content/Language.h"
#include "dialogs/TStartDlg.h"
#include "game/TMyDrawGrid.h"
#include "platform/Desktop.h"
#include "platform/MessageBoxes.h"
#include "platform/Registry.h"
#include "results/ResultsFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <stdexcept>

namespace {

constexpr char TrainerExecutable[] = "quill";
// Days per millisecond, for result times.
constexpr double DaysPerMs = 1.0 / 86400000.0;

std::unique_ptr<BenchEnv>& holder()
{
    static std::unique_ptr<BenchEnv> instance;
    return instance;
}

} // namespace

BenchEnv& BenchEnv::instance()
{
    auto& env = holder();
    if (!env)
        env.reset(new BenchEnv);
    return *env;
}

void BenchEnv::shutDown()
{
    holder().reset();
}

BenchEnv::BenchEnv() : m_previousDir(QDir::currentPath())
{
    if (!m_store.isValid() || !m_dir.isValid())
        throw std::runtime_error("no temporary folder");
    RegistryKey::setStoreDirectory(m_store.path());
    MessageBoxes::setHandler([this](MessageBoxes::Kind, const QString& text) { m_messages << text; });
    QDirIterator it(QStringLiteral(QUILL_RUN_DIR), QDir::Files);
    while (it.hasNext()) {
        it.next();
        if (it.fileName() != QLatin1String(TrainerExecutable))
            QFile::copy(it.filePath(), m_dir.filePath(it.fileName()));
    }
    QDir::setCurrent(m_dir.path());
    // The language is chosen as at the trainer's start, from the modules beside its executable.
    Desktop::setExecutablePathOverride(m_dir.filePath(QLatin1String(TrainerExecutable)));
    Language::selectModule();
}

BenchEnv::~BenchEnv()
{
    m_windows.reset();
    QDir::setCurrent(m_previousDir);
    MessageBoxes::setHandler({});
}

QString BenchEnv::filePath(const QString& name) const
{
    return QDir(m_dir.path()).filePath(name);
}

bool BenchEnv::hasFile(const QString& name) const
{
    return QFile::exists(filePath(name));
}

void BenchEnv::writeFile(const QString& name, const QByteArray& bytes) const
{
    QFile file(filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write a benchmark file");
}

WindowSet& BenchEnv::windows()
{
    if (!m_windows) {
        m_windows = std::make_unique<WindowSet>();
        TForm1* main = m_windows->form();
        main->show();
        if (!QTest::qWaitForWindowExposed(main))
            throw std::runtime_error("the main window is not shown");
    }
    return *m_windows;
}

TForm1* BenchEnv::form()
{
    return windows().form();
}

TMyDrawGrid* BenchEnv::grid()
{
    return form()->grid();
}

void BenchEnv::startTest(quint8 mode, int index)
{
    TStartDlg* start = windows().screens().startDlg;
    QTimer::singleShot(0, start, [start, index] {
        start->list()->setCurrentRow(index);
        start->accept();
    });
    form()->setCurrentMode(mode);
    form()->ShowMode();
}

void BenchEnv::acceptTest(int index)
{
    TStartDlg* start = windows().screens().startDlg;
    start->list()->setCurrentRow(index);
    start->accept();
}

int BenchEnv::testWithValues(int values)
{
    const QList<TTypesItem>& entries = Catalogue().Entries;
    int best = -1;
    for (int i = 0; i < entries.size(); ++i) {
        const auto n = entries[i].Values.size();
        if (n == values)
            return i;
        if (n < values && (best < 0 || n > entries[best].Values.size()))
            best = i;
    }
    return best;
}

QPoint BenchEnv::cellCentre(int index)
{
    TMyDrawGrid* g = grid();
    return g->CellBounds(index % g->ColCount(), index / g->ColCount()).center();
}

int BenchEnv::cellWithText(const QString& text)
{
    TMyDrawGrid* g = grid();
    for (int i = 0; i < g->CellCount(); ++i) {
        CellItem* item = g->Item(i);
        if (!item->Cleared() && item->Text == text)
            return i;
    }
    return -1;
}

QStringList BenchEnv::takeMessages()
{
    return std::exchange(m_messages, {});
}

namespace Generated {

QByteArray numberedText(int lines, int textLength)
{
    QByteArray out;
    out.reserve(static_cast<qsizetype>(lines) * (textLength + 10));
    QByteArray text(textLength, 'x');
    for (int n = 1; n <= lines; ++n) {
        for (int k = 0; k < textLength; ++k)
            text[k] = static_cast<char>('a' + (n * 7 + k * 13) % 26);
        out += QByteArray::number(n) + ' ' + text + "\r\n";
    }
    return out;
}

QByteArray catalogue(int tests, int values)
{
    constexpr int GroupEvery = 5;
    QByteArray out;
    for (int t = 1; t <= tests; ++t) {
        out += QByteArray::number(100 + t) + " Generated test " + QByteArray::number(t) + "\r\n";
        out += "D remark of test " + QByteArray::number(t) + "\r\n";
        for (int v = 0; v < values; ++v) {
            const QByteArray n = QByteArray::number(1000 + (t * 31 + v) % 900);
            if (v % GroupEvery == 0)
                out += "{ N" + n + " N" + QByteArray::number(2000 + v) + " N" + QByteArray::number(3000 + v) +
                       " } ";
            else
                out += 'N' + n + ' ';
        }
        if (t < tests)
            out += "\r\n"; // a line end after the last item line would start one more test
    }
    return out;
}

QByteArray stampedFile(qsizetype bodySize)
{
    QByteArray out = "123456789\r\n";
    const qsizetype head = out.size();
    out.resize(head + bodySize);
    quint32 state = 2463534242u; // xorshift: fast and the same on every run
    for (qsizetype i = head; i < out.size(); ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        out[i] = static_cast<char>(state);
    }
    return out;
}

QByteArray resultRecords(int count, int tests)
{
    static const char* const names[] = {"Ann",   "Bjorn Larsen", "Chris", "Dana Whitfield-Moore", "Eero",
                                        "Fiona", "Gustav",       "Hana",  "Ivo Petrov",           "Jo"};
    QByteArray out;
    out.reserve(static_cast<qsizetype>(count) * TResultRecord::RecordSize);
    for (int i = 0; i < count; ++i) {
        TResultRecord r;
        r.PlayerName = QString::fromLatin1(names[i % 10]) + QString::number(i % 97);
        r.TestNumber = 1 + i % tests;
        r.TestName = QStringLiteral("Generated test %1").arg(r.TestNumber);
        r.Time = ((i * 7919) % 600000) * DaysPerMs; // a sound result: under ten minutes
        r.Errors = (i * 31) % 6;
        out += r.encode();
    }
    return out;
}

} // namespace Generated
