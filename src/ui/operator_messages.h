#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "base/result.h"

class QWidget;

/// What the window says to the operator: confirmations with Yes and Cancel, and the
/// error handler that shows a failed command's message (the core has already left its
/// state as it was).

/// Asks a question with the buttons Yes and Cancel; true for Yes.
bool Confirm(QWidget* parent, const QString& question);
/// Shows a message in a message box; nothing when it is empty.
void ShowError(QWidget* parent, const QString& message);
/// Runs one operator command and shows what it reports: the message of its result (a
/// warning as an error), or the text of an exception that escaped it.
void RunCommand(QWidget* parent, const std::function<Result()>& command);
/// "Show Path" (`TFormShowPath`, "File Path"): the list name, the track's title and its
/// full path in a read-only box whose text can be copied; "Open Dir" opens the track's
/// folder with the desktop's file manager.
void ShowPath(QWidget* parent, const QString& title, const QString& path, const QString& listName);
/// The rename prompt ("Rename", "Enter the new name") filled with the shown name; empty
/// nothing when the operator cancels.
std::optional<QString> AskNewName(QWidget* parent, const QString& shownName);
/// The folder "Open Dir" opens: the track's path up to and including the last separator
/// ("/", "\" or ":"); empty when it has none.
QString FolderOfPath(const QString& path);
