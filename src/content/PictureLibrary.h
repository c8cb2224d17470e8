#pragma once

#include <QHash>
#include <QImage>
#include <QString>
#include <memory>

class ResourceContainer;

// A picture library: a resource container with each picture at its root under exactly its name
// ("V1001", "B101"), as SVG (drawn at its stated size) or as a bitmap format Qt reads. Decoded
// pictures are kept, so a picture is decoded once per run.
class PictureLibrary
{
public:
    // The library in the working directory with that file name (letter case ignored), opened once
    // and kept; nullptr when there is no such file or it is not a container.
    static PictureLibrary* open(const QString& fileName);
    // Forgets every opened library (tests that rewrite library files).
    static void closeAll();

    ~PictureLibrary();

    bool contains(const QString& name) const;
    // Throws "Resource %s not found" when the library has no such picture or it cannot be decoded.
    const QImage& picture(const QString& name) const;
    const QString& filePath() const;

private:
    explicit PictureLibrary(std::unique_ptr<ResourceContainer> container);

    std::unique_ptr<ResourceContainer> m_container;
    mutable QHash<QString, QImage> m_cache;
};
