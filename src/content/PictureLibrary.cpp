// SPDX-License-Identifier: GPL-3.0-or-later
#include "content/PictureLibrary.h"

#include "platform/AppError.h"
#include "platform/Desktop.h"
#include "platform/Files.h"
#include "platform/ResourceContainer.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>
#include <QtMath>
#include <map>

namespace {

struct OpenLibrary
{
    QDateTime modified;
    qint64 size = 0;
    std::unique_ptr<PictureLibrary> library;
};

std::map<QString, OpenLibrary>& libraries()
{
    static std::map<QString, OpenLibrary> instance;
    return instance;
}

bool looksLikeSvg(const QByteArray& data)
{
    const QByteArray head = data.left(512).trimmed();
    return head.startsWith("<?xml") || head.startsWith("<svg") || head.contains("<svg");
}

QImage decode(const QByteArray& data)
{
    if (looksLikeSvg(data)) {
        QSvgRenderer renderer(data);
        if (!renderer.isValid())
            return {};
        const QSize size = renderer.defaultSize();
        if (size.isEmpty())
            return {};
        // drawn at the screen's density: the picture keeps its stated size, and its sharpness
        const qreal ratio = Desktop::pictureRatio();
        QImage image(QSize(qCeil(size.width() * ratio), qCeil(size.height() * ratio)),
                     QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
        return image;
    }
    QImage image = QImage::fromData(data);
    if (!image.isNull() && image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return image;
}

// `size` scaled to fit `target`, centred in it.
QRectF fitted(const QSizeF& size, const QRectF& target)
{
    const QSizeF scaled = size.scaled(target.size(), Qt::KeepAspectRatio);
    QRectF place(QPointF(), scaled);
    place.moveCenter(target.center());
    return place;
}

} // namespace

PictureLibrary::PictureLibrary(std::unique_ptr<ResourceContainer> container)
    : m_container(std::move(container))
{}

PictureLibrary::~PictureLibrary() = default;

PictureLibrary* PictureLibrary::open(const QString& fileName, std::optional<AppError>* damage)
{
    if (damage)
        damage->reset();
    const QString path = Files::find(fileName);
    if (path.isEmpty())
        return nullptr;
    const QFileInfo info(path);
    const QString key = info.absoluteFilePath();
    auto& open = libraries();
    auto it = open.find(key);
    if (it != open.end()) {
        // A library file replaced on disk is opened again.
        if (it->second.modified == info.lastModified() && it->second.size == info.size())
            return it->second.library.get();
        open.erase(it);
    }
    auto container = std::make_unique<ResourceContainer>();
    if (!container->open(key)) {
        if (damage)
            *damage = container->damage();
        return nullptr;
    }
    OpenLibrary entry;
    entry.modified = info.lastModified();
    entry.size = info.size();
    entry.library.reset(new PictureLibrary(std::move(container)));
    PictureLibrary* library = entry.library.get();
    open.emplace(key, std::move(entry));
    return library;
}

void PictureLibrary::closeAll()
{
    libraries().clear();
}

bool PictureLibrary::contains(const QString& name) const
{
    return m_cache.contains(name) || m_container->contains(name);
}

const QImage& PictureLibrary::picture(const QString& name) const
{
    auto it = m_cache.constFind(name);
    if (it != m_cache.constEnd())
        return *it;
    const QByteArray data = m_container->read(name);
    QImage image = data.isEmpty() ? QImage() : decode(data);
    if (image.isNull())
        throw AppError(QString::fromLatin1(Msg::ResourceNotFound), {name}).inFile(filePath());
    return *m_cache.insert(name, std::move(image));
}

PictureLibrary& PictureLibrary::require(const QString& fileName)
{
    std::optional<AppError> damage;
    if (PictureLibrary* library = open(fileName, &damage))
        return *library;
    if (damage)
        throw *damage;
    const QString path = Files::find(fileName);
    if (path.isEmpty())
        throw AppError(QString::fromLatin1(Msg::FileNotFound))
            .inFile(QDir::current().absoluteFilePath(fileName));
    // a file of that name that is no container at all
    throw AppError(QString::fromLatin1(Msg::DamagedFile)).inFile(QFileInfo(path).absoluteFilePath());
}

void PictureLibrary::draw(QPainter& painter, const QRectF& target, const QString& name) const
{
    const QByteArray data = m_container->read(name);
    if (looksLikeSvg(data)) {
        QSvgRenderer renderer(data);
        const QSizeF size = renderer.viewBoxF().size();
        if (renderer.isValid() && !size.isEmpty()) {
            // a drawing may reach past its canvas, which the screens cut off as well
            const QRectF place = fitted(size, target);
            painter.save();
            painter.setClipRect(place, Qt::IntersectClip);
            renderer.render(&painter, place);
            painter.restore();
            return;
        }
    }
    const QImage& image = picture(name);
    painter.drawImage(fitted(image.size(), target), image);
}

const QString& PictureLibrary::filePath() const
{
    return m_container->filePath();
}

LibraryPicture& LibraryPicture::operator=(const QImage& image)
{
    m_libraryName.clear();
    m_name.clear();
    m_image = image;
    return *this;
}

void LibraryPicture::refer(const QString& libraryName, const QString& name)
{
    m_libraryName = libraryName;
    m_name = name;
    m_image = QImage();
}

const QImage& LibraryPicture::image() const
{
    if (m_name.isEmpty())
        return m_image;
    std::optional<AppError> damage;
    const PictureLibrary* library = PictureLibrary::open(m_libraryName, &damage);
    if (!library)
        throw damage ? *damage
                     : AppError(QString::fromLatin1(Msg::ResourceNotFound), {m_name})
                           .inFile(QDir::current().absoluteFilePath(m_libraryName));
    m_image = library->picture(m_name);
    m_name.clear();
    m_libraryName.clear();
    return m_image;
}
