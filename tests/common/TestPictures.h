#pragma once
// Pictures a test writes for a person to look at: only into the folder that
// AMMERLIN_TEST_PICTURES names (made when missing), and nowhere when it is unset, so that test
// runs on a shared machine never overwrite each other's files.
#include <QByteArray>
#include <QDir>
#include <QImage>
#include <QString>

inline void SaveTestPicture(const QImage& image, const char* name)
{
    const QByteArray dir = qgetenv("AMMERLIN_TEST_PICTURES");
    if (dir.isEmpty() || image.isNull())
        return;
    const QString folder = QString::fromLocal8Bit(dir);
    QDir().mkpath(folder);
    image.save(QDir(folder).filePath(QString::fromUtf8(name)));
}
