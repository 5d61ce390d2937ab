#include "console/MessageBox.h"

#include <QApplication>
#include <QDateTime>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QTreeView>
#include <QIdentityProxyModel>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QSpacerItem>
#include <QTranslator>

namespace {

// Room the window frame takes beside the title: icon and the close, maximise and minimise buttons.
constexpr int kTitleFrame = 160;

QLocale ChineseLocale() { return QLocale(QLocale::Chinese, QLocale::China); }

// The file dialog's model writes sizes as "116.00 KiB" and dates in the system's locale; this
// view of it writes them the way the rest of the program does.
class TChineseFileColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || (index.column() != 1 && index.column() != 3))
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        if (index.column() == 3)
            return ChineseLocale().toString(files->lastModified(source), QStringLiteral("yyyy/MM/dd HH:mm"));
        if (files->isDir(source))
            return QString();
        // Whole kilobytes, rounded up, as file lists on Chinese desktops show them.
        const qint64 kb = (files->size(source) + 1023) / 1024;
        return ChineseLocale().toString(kb) + QStringLiteral(" KB");
    }
};

} // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, TMessageKind kind, const QString& title,
                                            const QString& text)
{
    const QMessageBox::Icon icon = kind == TMessageKind::Error     ? QMessageBox::Critical
                                   : kind == TMessageKind::Warning ? QMessageBox::Warning
                                                                   : QMessageBox::Information;
    auto box = std::make_unique<QMessageBox>(icon, title, text, QMessageBox::Ok, parent);
    // QMessageBox sizes itself to its text; a spacer row keeps it as wide as its title.
    const int wanted = QFontMetrics(box->font()).horizontalAdvance(title) + kTitleFrame;
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
        grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                      grid->columnCount());
    return box;
}

void ShowMessageBox(QWidget* parent, TMessageKind kind, const std::string& title, const std::string& text)
{
    MakeMessageBox(parent, kind, QString::fromStdString(title), QString::fromStdString(text))->exec();
}

bool LoadQtTranslations(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

void CentreOnScreen(QWidget* window)
{
    QScreen* screen = window->isVisible() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize frame = window->frameGeometry().size();
    window->move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
}

void UseChineseLocale() { QLocale::setDefault(ChineseLocale()); }

std::unique_ptr<QFileDialog> MakeOpenFileDialog(QWidget* parent, const QString& filter, const QString& folder)
{
    auto dialog = std::make_unique<QFileDialog>(parent, QString(), folder, filter);
    // The system's own dialog would keep its columns to itself.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setProxyModel(new TChineseFileColumns(dialog.get()));
    // Columns as wide as what they hold, the name taking the rest: nothing elided.
    if (auto* view = dialog->findChild<QTreeView*>()) {
        QHeaderView* header = view->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int c = 1; c < 4; ++c)
            header->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    }
    return dialog;
}

QString GetOpenFileName(QWidget* parent, const QString& filter)
{
    const auto dialog = MakeOpenFileDialog(parent, filter);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    return dialog->selectedFiles().constFirst();
}

void MakeFixedSizeDialog(QWidget* dialog, int width, int height)
{
    dialog->setFixedSize(width, height);
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
}
