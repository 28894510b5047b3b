#pragma once

#include <QDialog>
#include <optional>

#include "app/calendar_state.h"

class QListWidget;

/// A modal chooser over a list of names with "OK" and "Ακυρο": the list chooser
/// `TFormPrograms` ("Select a Program", several names) and the day chooser `TFormWeek1`
/// ("Week", one day). Made once and shown whenever a command needs an answer.
class ChooserDialog final : public QDialog {
    Q_OBJECT
public:
    /// formName and listName are the objectNames of the dialog and of its list.
    ChooserDialog(const QString& formName, const QString& listName, QWidget* parent);

    /// Shows the chooser's items; the rows chosen, in list order, or nothing for "Ακυρο".
    std::optional<QList<int>> Ask(const ChooserState& chooser);
    /// The names chosen; empty for "Ακυρο" or when none was chosen.
    QStringList AskNames(const ChooserState& chooser);

private:
    QListWidget* m_list;
};
