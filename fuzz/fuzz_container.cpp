// SPDX-License-Identifier: GPL-3.0-or-later
// The structure check of resource containers on a container file made from the input. Qt's own code
// is not instrumented, so a container the check passes is given to Qt in memory that ends where an
// unreadable span of address space begins, with more of it before: a read by Qt outside the passed
// bytes faults. Every folder of the container is listed, every file read and unpacked, and names
// the container lacks are looked up. The same file is then opened as the program opens it.
#include "FuzzSupport.h"
#include "platform/ResourceContainer.h"
#include "platform/ResourceContainerCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QResource>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>

namespace {

const QString FileName = QStringLiteral("quill.fuz");
const QString Root = QStringLiteral("/fuzz");

// Qt adds 32-bit offsets and sizes read from the container to the start of its parts, and computes
// node offsets in 32-bit signed numbers: a stray read lands at most 2 GiB before the bytes or 6 GiB
// after them. The readable window in between holds the largest input.
constexpr size_t GiB = size_t(1) << 30;
constexpr size_t GuardBefore = 2 * GiB + (size_t(1) << 20);
constexpr size_t GuardAfter = 6 * GiB + (size_t(1) << 20);
constexpr size_t Window = size_t(1) << 20;
// Folders may share children (their child ranges overlap): the walk is bounded.
constexpr int MaxDepth = 16;
constexpr int MaxVisits = 500;

uchar* windowEnd = nullptr;
size_t pageSize = 0;

void reserveGuardedWindow()
{
    pageSize = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    void* base = mmap(nullptr, GuardBefore + Window + GuardAfter, PROT_NONE,
                      MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (base == MAP_FAILED)
        Fuzz::fail("cannot reserve the guarded window");
    windowEnd = static_cast<uchar*>(base) + GuardBefore + Window;
}

// The input copied to the end of the readable window; unmade when it goes out of scope.
class GuardedCopy
{
public:
    explicit GuardedCopy(QByteArrayView bytes)
    {
        m_length = (static_cast<size_t>(bytes.size()) + pageSize - 1) / pageSize * pageSize;
        m_pages = windowEnd - m_length;
        if (m_length > Window || mprotect(m_pages, m_length, PROT_READ | PROT_WRITE) != 0)
            Fuzz::fail("the input does not fit the guarded window");
        m_data = windowEnd - bytes.size();
        std::memcpy(m_data, bytes.data(), static_cast<size_t>(bytes.size()));
        mprotect(m_pages, m_length, PROT_READ);
    }
    ~GuardedCopy() { mprotect(m_pages, m_length, PROT_NONE); }
    GuardedCopy(const GuardedCopy&) = delete;
    GuardedCopy& operator=(const GuardedCopy&) = delete;

    const uchar* data() const { return m_data; }

private:
    uchar* m_pages = nullptr;
    size_t m_length = 0;
    uchar* m_data = nullptr;
};

void walk(const QString& path, int depth, int& visits)
{
    if (++visits > MaxVisits)
        return;
    const QFileInfo info(path);
    if (!info.exists())
        return;
    (void)info.size();
    (void)info.lastModified();
    if (!info.isDir()) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            (void)file.readAll();
        (void)QResource(path).uncompressedData();
        return;
    }
    for (const char* absent : {"strings.txt", "V1001", "a", "zz"})
        (void)QFileInfo(path + QLatin1Char('/') + QLatin1String(absent)).exists();
    if (depth >= MaxDepth)
        return;
    const QDir folder(path);
    for (const QString& child :
         folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        // an empty name, or one with a '/', names the folder itself or another path
        if (!child.isEmpty() && !child.contains(QLatin1Char('/')))
            walk(path + QLatin1Char('/') + child, depth + 1, visits);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    Fuzz::initialise(argc, argv);
    // Qt warns of every file it cannot unpack; damaged inputs are the rule here.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    reserveGuardedWindow();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes = Fuzz::bytes(data, size);
    const ResourceContainerCheck::Result result = ResourceContainerCheck::check(bytes);
    const bool magic = bytes.startsWith("qres");
    Fuzz::check((result.verdict == ResourceContainerCheck::Verdict::NotContainer) == !magic,
                "the check calls a file with the container's magic no container, or the other way round");
    Fuzz::check((result.verdict == ResourceContainerCheck::Verdict::Damaged) == (result.fault != nullptr),
                "a damaged container without a fault, or a fault without damage");

    if (result.verdict == ResourceContainerCheck::Verdict::Sound) {
        const GuardedCopy copy(bytes);
        Fuzz::check(QResource::registerResource(copy.data(), Root),
                    "Qt refuses a container the check passed");
        int visits = 0;
        walk(QLatin1Char(':') + Root, 0, visits);
        QResource::unregisterResource(copy.data(), Root);
    }

    Fuzz::writeFile(FileName, bytes);
    ResourceContainer container;
    const bool opened = container.open(FileName);
    Fuzz::check(opened == (result.verdict == ResourceContainerCheck::Verdict::Sound),
                "opening the file and checking its bytes disagree");
    Fuzz::check(container.damage().has_value() ==
                    (result.verdict == ResourceContainerCheck::Verdict::Damaged),
                "a damaged container is not reported, or a sound one is");
    if (container.damage())
        Fuzz::check(container.damage()->file().endsWith(FileName),
                    "the damage report does not name the file");
    if (opened)
        (void)container.read(QStringLiteral("strings.txt"));
    return 0;
}
