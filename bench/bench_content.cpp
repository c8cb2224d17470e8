// SPDX-License-Identifier: GPL-3.0-or-later
// Content reading: the checksum of a content file, opening a container, look-ups in numbered texts,
// catalogues.
#include "BenchEnv.h"
#include "content/Catalogue.h"
#include "content/Checksum.h"
#include "content/NumberedText.h"
#include "platform/Files.h"
#include "platform/ResourceContainer.h"
#include "platform/ResourceContainerCheck.h"

#include <QFileInfo>

#include <benchmark/benchmark.h>

namespace {

// The divisor the trainer checks its content files with.
constexpr quint8 ContentDivisor = 3;
constexpr qsizetype MiB = 1024 * 1024;

// The generated large numbered text: 100 000 lines of 80 characters (about 8.5 MB).
constexpr int LargeTextLines = 100000;
constexpr int LargeTextLength = 80;
const QString LargeTextName = QStringLiteral("LargeText.eng");

// The generated large catalogue: as many tests and values as the catalogue store takes.
constexpr int LargeCatalogueTests = TTypesFile::MaxEntries;
constexpr int LargeCatalogueValues = TTypesFile::MaxValuesPerEntry - 1;
const QString LargeCatalogueName = QStringLiteral("LargeTypes.eng");

// The number of the last numbered line of a file.
qint32 lastNumber(const QString& fileName)
{
    qint32 last = 0;
    for (const QByteArray& line : Files::readAll(fileName).split('\n')) {
        bool ok = false;
        const qint32 n = line.left(line.indexOf(' ')).toInt(&ok);
        if (ok)
            last = n;
    }
    return last;
}

bool ensureFile(benchmark::State& state, const QString& name)
{
    if (BenchEnv::instance().hasFile(name))
        return true;
    state.SkipWithError(qPrintable(name + QStringLiteral(" is not in the program folder")));
    return false;
}

void BM_FileChecksum_Generated(benchmark::State& state)
{
    guarded(state, [&] {
        BenchEnv& env = BenchEnv::instance();
        const qsizetype size = state.range(0) * MiB;
        const QString name = QStringLiteral("Checksum%1.eng").arg(state.range(0));
        if (!env.hasFile(name))
            env.writeFile(name, Generated::stampedFile(size));
        for (auto _ : state)
            benchmark::DoNotOptimize(FileChecksum(name, ContentDivisor));
        state.SetBytesProcessed(state.iterations() * size);
    });
}
BENCHMARK(BM_FileChecksum_Generated)->Arg(256)->Unit(benchmark::kMillisecond);

// The sum alone over bytes already in memory: the upper bound of the file's throughput.
void BM_BodyChecksum_Memory(benchmark::State& state)
{
    guarded(state, [&] {
        const QByteArray body = Generated::stampedFile(64 * MiB);
        const auto divisor = static_cast<quint8>(state.range(0));
        for (auto _ : state)
            benchmark::DoNotOptimize(BodyChecksum(body, divisor));
        state.SetBytesProcessed(state.iterations() * body.size());
    });
}
BENCHMARK(BM_BodyChecksum_Memory)->Arg(ContentDivisor)->Arg(7)->Unit(benchmark::kMillisecond);

// The start's check of the shipped content: the stored line, then the sum, of each checked file.
void BM_FileChecksum_Shipped(benchmark::State& state, const char* file)
{
    guarded(state, [&] {
        const QString name = QString::fromLatin1(file);
        if (!ensureFile(state, name))
            return;
        const qint64 size = QFileInfo(BenchEnv::instance().filePath(name)).size();
        for (auto _ : state) {
            benchmark::DoNotOptimize(ReadChecksumLine(name));
            benchmark::DoNotOptimize(FileChecksum(name, ContentDivisor));
        }
        state.SetBytesProcessed(state.iterations() * size);
    });
}
BENCHMARK_CAPTURE(BM_FileChecksum_Shipped, Bitm1, "Bitm1.eng")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FileChecksum_Shipped, Legends, "Legends.eng")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FileChecksum_Shipped, Symbols, "Symbols.eng")->Unit(benchmark::kMicrosecond);

// Opening a shipped container: the file read into memory, its structure checked, the checked bytes
// registered with Qt (and closed again); and the structure check alone over bytes in memory.
void BM_ContainerOpen_Shipped(benchmark::State& state, const char* file)
{
    guarded(state, [&] {
        const QString name = QString::fromLatin1(file);
        if (!ensureFile(state, name))
            return;
        const QString path = BenchEnv::instance().filePath(name);
        for (auto _ : state) {
            ResourceContainer container;
            if (!container.open(path)) {
                state.SkipWithError("the container is refused");
                return;
            }
        }
        state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
    });
}
BENCHMARK_CAPTURE(BM_ContainerOpen_Shipped, Bitm1, "Bitm1.dll")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ContainerOpen_Shipped, Module, "quill.eng")->Unit(benchmark::kMicrosecond);

void BM_ContainerCheck_Shipped(benchmark::State& state, const char* file)
{
    guarded(state, [&] {
        const QString name = QString::fromLatin1(file);
        if (!ensureFile(state, name))
            return;
        const QByteArray bytes = Files::readAll(name);
        for (auto _ : state)
            benchmark::DoNotOptimize(ResourceContainerCheck::check(bytes).verdict);
        state.SetBytesProcessed(state.iterations() * bytes.size());
    });
}
BENCHMARK_CAPTURE(BM_ContainerCheck_Shipped, Bitm1, "Bitm1.dll")->Unit(benchmark::kMicrosecond);

// One look-up of the file's last number (the whole file is read and scanned).
void BM_ReadNumberedText_Shipped(benchmark::State& state, const char* file)
{
    guarded(state, [&] {
        const QString name = QString::fromLatin1(file);
        if (!ensureFile(state, name))
            return;
        const qint32 number = lastNumber(name);
        for (auto _ : state)
            benchmark::DoNotOptimize(ReadNumberedText(name, number));
        state.SetBytesProcessed(state.iterations() * QFileInfo(BenchEnv::instance().filePath(name)).size());
    });
}
BENCHMARK_CAPTURE(BM_ReadNumberedText_Shipped, Legends, "Legends.eng")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReadNumberedText_Shipped, LegendsAdd, "LegendsAdd.eng")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReadNumberedText_Shipped, Bitm1Add, "Bitm1Add.eng")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReadNumberedText_Shipped, SymbolsAdd, "SymbolsAdd.eng")->Unit(benchmark::kMicrosecond);

// A look-up in a generated 8.5 MB text: its last number (found at the end) or a missing one.
void BM_ReadNumberedText_Large(benchmark::State& state)
{
    guarded(state, [&] {
        BenchEnv& env = BenchEnv::instance();
        if (!env.hasFile(LargeTextName))
            env.writeFile(LargeTextName, Generated::numberedText(LargeTextLines, LargeTextLength));
        const qint32 number = state.range(0) != 0 ? LargeTextLines : LargeTextLines + 1;
        for (auto _ : state)
            benchmark::DoNotOptimize(ReadNumberedText(LargeTextName, number));
        state.SetBytesProcessed(state.iterations() * QFileInfo(env.filePath(LargeTextName)).size());
    });
}
BENCHMARK(BM_ReadNumberedText_Large)->ArgName("found")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_ReadCatalogue_Shipped(benchmark::State& state, const char* file)
{
    guarded(state, [&] {
        const QString name = QString::fromLatin1(file);
        if (!ensureFile(state, name))
            return;
        for (auto _ : state)
            ReadCatalogue(name);
        state.counters["tests"] = Catalogue().Count();
    });
}
BENCHMARK_CAPTURE(BM_ReadCatalogue_Shipped, TypesLeg, "TypesLeg.eng")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReadCatalogue_Shipped, TypesSym, "TypesSym.eng")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReadCatalogue_Shipped, types, "types.eng")->Unit(benchmark::kMicrosecond);

// A catalogue at the store's limits: 101 tests of 1 000 values, every fifth value a group.
void BM_ReadCatalogue_Large(benchmark::State& state)
{
    guarded(state, [&] {
        BenchEnv& env = BenchEnv::instance();
        if (!env.hasFile(LargeCatalogueName))
            env.writeFile(LargeCatalogueName,
                          Generated::catalogue(LargeCatalogueTests, LargeCatalogueValues));
        for (auto _ : state)
            ReadCatalogue(LargeCatalogueName);
        state.SetBytesProcessed(state.iterations() * QFileInfo(env.filePath(LargeCatalogueName)).size());
        state.counters["tests"] = Catalogue().Count();
    });
}
BENCHMARK(BM_ReadCatalogue_Large)->Unit(benchmark::kMillisecond);

} // namespace
