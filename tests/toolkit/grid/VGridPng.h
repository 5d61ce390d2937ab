#pragma once
// Pictures written by the grid tests for a look by eye.
#include <QImage>
#include <QString>

#include <cstdlib>
#include <string>

namespace vgtest {

// Writes the picture into the folder VGRID_PNG names (nowhere when it is unset).
inline void SavePng(const QImage& image, const std::string& name)
{
    if (const char* dir = std::getenv("VGRID_PNG"); dir && *dir)
        image.save(QString::fromStdString(std::string(dir) + "/" + name));
}

} // namespace vgtest
