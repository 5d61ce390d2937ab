#include "console/MessageBox.h"

#include <QApplication>
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
