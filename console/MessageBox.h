#pragma once
// Message boxes of the console: the error icon for errors, and wide enough for their whole title
// (the window manager cuts a title wider than a short box). Also where the application gets Qt's
// own Chinese texts and where the main window is placed.
#include <QFileDialog>
#include <QMessageBox>

#include <memory>
#include <string>

class QCoreApplication;
class QWidget;

enum class TMessageKind { Information, Warning, Error };

// The box, not yet shown (tests look at it); ShowMessageBox runs it modally.
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, TMessageKind kind, const QString& title,
                                            const QString& text);
void ShowMessageBox(QWidget* parent, TMessageKind kind, const std::string& title, const std::string& text);

// Installs Qt's zh_CN translations (standard buttons, file dialog) from Qt's translations folder;
// false, and nothing changed, when they are not installed.
bool LoadQtTranslations(QCoreApplication& app);

// The program's locale is Chinese, also for the dates and sizes of the file dialog, which the
// dialog otherwise takes from the system. Called once at start-up.
void UseChineseLocale();

// The dialog to choose a file to open (Qt's own, with the columns in Chinese), not yet shown;
// GetOpenFileName runs it modally and answers the chosen file or an empty text.
std::unique_ptr<QFileDialog> MakeOpenFileDialog(QWidget* parent, const QString& filter, const QString& folder = {});
QString GetOpenFileName(QWidget* parent, const QString& filter = {});

// A dialog of one size: a title and a close button only, no maximise button for the window
// manager to offer.
void MakeFixedSizeDialog(QWidget* dialog, int width, int height);

// Moves a top-level window to the middle of the screen it is on (the primary screen before it
// is shown).
void CentreOnScreen(QWidget* window);
