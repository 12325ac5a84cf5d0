#pragma once
// The save of a table through the file dialog: the user chooses the file,
// the caller's writer writes it, and the user is told "File Saved
// Successfully" or why the file could not be written.
#include "platform/FileDialogs.h"

#include <functional>
#include <string>

class QWidget;

// Writes the table to the chosen path; false, with the reason in error, when
// it could not.
using TableWriter = std::function<bool(const std::string& path, std::string* error)>;

// Shows the save dialog and writes the file; messages carry savedTitle.
// False when the user cancelled or the file could not be written.
bool SaveTableAs(QWidget* owner, const platform::FileDialogRequest& request, const TableWriter& write,
                 const std::string& savedTitle);
