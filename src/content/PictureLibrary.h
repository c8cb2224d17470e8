// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/AppError.h"

#include <QHash>
#include <QImage>
#include <QString>
#include <memory>
#include <optional>

class QPainter;
class QRectF;
class ResourceContainer;

// A picture library: a resource container with each picture at its root under exactly its name
// ("V1001", "B101"), as SVG (drawn at its stated size) or as a bitmap format Qt reads. Decoded
// pictures are kept, so a picture is decoded once per run.
class PictureLibrary
{
public:
    // The library in the working directory with that file name (letter case ignored), opened once
    // and kept; nullptr when there is no such file, it is not a container, or it is a damaged one.
    // For a damaged one `damage` (when given) receives "File %s is damaged", naming the file; it is
    // left empty otherwise.
    static PictureLibrary* open(const QString& fileName, std::optional<AppError>* damage = nullptr);
    // The library as open() gives it; throws what keeps it from use, naming the file: "File not
    // found", "File %s is damaged", or the unknown kind of a file that is no container.
    static PictureLibrary& require(const QString& fileName);
    // Forgets every opened library (tests that rewrite library files).
    static void closeAll();

    ~PictureLibrary();

    bool contains(const QString& name) const;
    // Throws "Resource %s not found" when the library has no such picture or it cannot be decoded.
    const QImage& picture(const QString& name) const;
    // Draws the picture into `target` at its own proportions, centred: an SVG picture as the
    // drawing it is (sharp at any size, on paper too), a bitmap scaled. Throws like picture().
    void draw(QPainter& painter, const QRectF& target, const QString& name) const;
    const QString& filePath() const;

private:
    explicit PictureLibrary(std::unique_ptr<ResourceContainer> container);

    std::unique_ptr<ResourceContainer> m_container;
    mutable QHash<QString, QImage> m_cache;
};

// A picture of a library that is decoded when it is first looked at: a board refers to pictures it
// may never show (the map excerpt and the ground sketch of every value), and decoding is what costs.
// It can also hold a picture of its own.
class LibraryPicture
{
public:
    LibraryPicture() = default;
    LibraryPicture(const QImage& image) : m_image(image) {}
    LibraryPicture& operator=(const QImage& image);

    // Refers to the picture `name` of the library file `libraryName`; the caller has checked that
    // the library holds it.
    void refer(const QString& libraryName, const QString& name);

    // Decodes a referred picture on first use; throws "Resource %s not found" when the library no
    // longer has it or it cannot be decoded, "File %s is damaged" when the library file was
    // replaced by a damaged one.
    const QImage& image() const;
    operator const QImage&() const { return image(); }
    bool isNull() const { return image().isNull(); }
    QSize size() const { return image().size(); }

private:
    mutable QString m_libraryName;
    mutable QString m_name;
    mutable QImage m_image;
};
