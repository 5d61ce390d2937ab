#include "platform/vcl/PictureDialogs.h"

#include <QFileDialog>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <utility>

namespace {

// "Description|*.a;*.b|..." as the file dialog's "Description (*.a *.b);;..." list.
QString QtFilter(const std::string& filter)
{
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString masks = parts[i + 1];
        masks.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString description = parts[i];
        const int open = description.indexOf(QLatin1Char('('));
        if (open > 0)
            description = description.left(open).trimmed();
        entries << description + QStringLiteral(" (") + masks + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

bool FileDialogOpen(const std::string& filter, std::string& fileName)
{
    return ExecuteFileDialog(false, std::string(), std::string(), filter, true, fileName);
}

bool FileDialogSave(const std::string& filter, const std::string& defaultExt, std::string& fileName)
{
    if (!ExecuteFileDialog(true, std::string(), std::string(), filter, true, fileName))
        return false;
    if (!defaultExt.empty() && QFileInfo(QString::fromStdString(fileName)).suffix().isEmpty())
        fileName += "." + defaultExt;
    return true;
}

TPictureDialogs& PictureDialogs()
{
    static TPictureDialogs dialogs;
    return dialogs;
}

} // namespace

TPictureDialogs SetPictureDialogs(TPictureDialogs dialogs)
{
    std::swap(PictureDialogs(), dialogs);
    return dialogs;
}

bool ExecuteOpenPictureDialog(const std::string& filter, std::string& fileName)
{
    const auto& open = PictureDialogs().Open;
    return open ? open(filter, fileName) : FileDialogOpen(filter, fileName);
}

bool ExecuteSavePictureDialog(const std::string& filter, const std::string& defaultExt, std::string& fileName)
{
    const auto& save = PictureDialogs().Save;
    return save ? save(filter, defaultExt, fileName) : FileDialogSave(filter, defaultExt, fileName);
}

bool ExecuteFileDialog(bool save, const std::string& title, const std::string& folder, const std::string& filter,
                       bool confirmOverwrite, std::string& fileName)
{
    QString start = QString::fromStdString(fileName);
    if (!folder.empty())
        start = QDir(QString::fromStdString(folder)).filePath(QFileInfo(start).fileName());
    const QFileDialog::Options options = confirmOverwrite ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite;
    const QString name = save ? QFileDialog::getSaveFileName(nullptr, QString::fromStdString(title), start,
                                                             QtFilter(filter), nullptr, options)
                              : QFileDialog::getOpenFileName(nullptr, QString::fromStdString(title), start,
                                                             QtFilter(filter), nullptr, options);
    if (name.isEmpty())
        return false;
    fileName = name.toStdString();
    return true;
}
