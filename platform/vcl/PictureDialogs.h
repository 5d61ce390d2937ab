#pragma once
// The open- and save-picture dialogs behind a replaceable service: the file dialogs by default, a
// script in tests. A filter is "Description|*.a;*.b|Description|*.c"; an answer is false when the
// user cancels.
#include <functional>
#include <string>

struct TPictureDialogs {
    std::function<bool(const std::string& filter, std::string& fileName)> Open;
    std::function<bool(const std::string& filter, const std::string& defaultExt, std::string& fileName)> Save;
};
// Installs the service (empty members: the file dialogs) and gives the previous one.
TPictureDialogs SetPictureDialogs(TPictureDialogs dialogs);
bool ExecuteOpenPictureDialog(const std::string& filter, std::string& fileName);
bool ExecuteSavePictureDialog(const std::string& filter, const std::string& defaultExt, std::string& fileName);

// The file dialog itself with a title and a starting folder (empty: Qt's choices). A save dialog
// confirms replacing an existing file only when asked to. False when the user cancels.
bool ExecuteFileDialog(bool save, const std::string& title, const std::string& folder, const std::string& filter,
                       bool confirmOverwrite, std::string& fileName);
