#include "schedule/list_editor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "schedule/list_file.h"
#include "schedule/program_lock.h"

bool IsStorableListName(const QString& name) {
    // A "|" would split the name in a program value, a line break would shift every later
    // slot of a day file.
    return !name.contains(u'|') && !name.contains(u'\r') && !name.contains(u'\n');
}

QStringList VisibleListNames(const QStringList& folderNames, bool includeCds) {
    QStringList names;
    for (const QString& name : folderNames) {
        if (IsStorableListName(name) && (includeCds || !IsCdList(name))) names.append(name);
    }
    return names;
}

ListEditor::ListEditor(QString listsPath, const ProgramLock& lock)
    : m_listsPath(std::move(listsPath)), m_lock(lock) {}

QString ListEditor::ChosenListName() const {
    if (m_chosenList < 0 || m_chosenList >= m_listNames.size()) return {};
    return m_listNames.at(m_chosenList);
}

QStringList ListEditor::Paths() const {
    QStringList paths;
    paths.reserve(static_cast<qsizetype>(m_rows.size()));
    for (const Row& row : m_rows) paths.append(row.path);
    return paths;
}

void ListEditor::SetCurrentRow(int row) {
    m_currentRow = (row >= 0 && row < TotalTracks()) ? row : -1;
}

void ListEditor::SetSelected(int row, bool selected) {
    if (row >= 0 && row < TotalTracks()) m_rows[row].selected = selected;
}

void ListEditor::EditNewProgramName1Change(const QString& text) { m_newProgramName = text; }

void ListEditor::RefreshListNames() {
    // The name goes with the list it named, so that Save cannot write the emptied editor
    // over it; an editor that held nothing keeps the name typed for it.
    if (m_chosenList >= 0 || !m_rows.empty()) m_newProgramName.clear();
    const QDir folder(m_listsPath);
    // Hidden files and folders are not lists; the order is the folder's, without case.
    m_folderNames = folder.exists() ? folder.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase)
                                    : QStringList();
    m_listNames = VisibleListNames(m_folderNames, m_includeCds);
    m_chosenList = -1;
    ++m_openings;  // a name being opened may now be another row, or gone
    ClearEditor();
}

void ListEditor::CheckBoxIncludeCDsListsClick(bool checked) {
    m_includeCds = checked;
    RefreshListNames();
}

Result ListEditor::LoadListToEditor(const QString& name) {
    const ReadResult<QStringList> read = list_file::Read(m_listsPath, name);
    if (!read.ok()) return read;
    ClearEditor();
    m_rows.reserve(static_cast<std::size_t>(read.value.size()));
    for (const QString& path : read.value) m_rows.push_back({TrackTitle(path), path, false});
    return Result::Ok();
}

Result ListEditor::SaveEditorList(const QString& name) {
    if (name.isEmpty()) return Result::Ok();
    if (Result refused = m_lock.Refusal(); !refused.ok()) return refused;
    if (const Result refused = ListNameRefusal(name); !refused.ok())
        return Result::Error(refused.message() + QStringLiteral(" Nothing was saved."));
    return list_file::Write(m_listsPath, name, Paths());
}

Result ListEditor::ListBoxFileListBoxClick(int index) {
    const std::optional<Opening> opening = StartOpening(index);
    if (!opening) return Result::Ok();
    return FinishOpening(*opening, list_file::Read(m_listsPath, opening->name));
}

std::optional<ListEditor::Opening> ListEditor::StartOpening(int index) {
    if (index < 0 || index >= m_listNames.size()) return std::nullopt;
    return Opening{index, m_listsPath, m_listNames.at(index), ++m_openings};
}

Result ListEditor::FinishOpening(const Opening& opening, const ReadResult<QStringList>& read) {
    if (opening.serial != m_openings) return Result::Ok();
    if (!read.ok()) return read;
    ClearEditor();
    m_rows.reserve(static_cast<std::size_t>(read.value.size()));
    for (const QString& path : read.value) m_rows.push_back({TrackTitle(path), path, false});
    m_chosenList = opening.index;
    m_newProgramName = opening.name;
    return Result::Ok();
}

Result ListEditor::SpeedButtonNewProgram1Click() {
    if (Result refused = m_lock.Refusal(); !refused.ok()) return refused;
    ClearEditor();
    m_newProgramName.clear();
    return Result::Ok();
}

QString ListEditor::SaveListQuestion() const {
    const QString& name = m_newProgramName;
    if (!m_rows.empty() || !m_lock.Refusal().ok() || !ListNameRefusal(name).ok()) return {};
    // A list that cannot be read may hold tracks as well.
    const ReadResult<QStringList> held = list_file::Read(m_listsPath, name);
    if (held.ok() && held.value.isEmpty()) return {};
    return QStringLiteral("Replace ") + name + QStringLiteral(" with an empty list ?");
}

Result ListEditor::BitBtnSaveProgram1Click(bool confirmed) {
    if (Result refused = m_lock.Refusal(); !refused.ok()) return refused;
    if (!confirmed && !SaveListQuestion().isEmpty()) return Result::Ok();
    // A failed save keeps the editor, so the operator can fix the name and save again.
    if (Result saved = SaveEditorList(m_newProgramName); !saved.ok()) return saved;
    RefreshListNames();
    return Result::Ok();
}

QString ListEditor::DeleteListQuestion() const {
    const QString name = ChosenListName();
    if (name.isEmpty() || m_lock.LockPrograms) return {};
    return QStringLiteral("Delete ") + name + QStringLiteral(" ?");
}

Result ListEditor::ButtonDelProgram1Click(bool confirmed) {
    if (Result refused = m_lock.Refusal(); !refused.ok()) return refused;
    const QString name = ChosenListName();
    if (name.isEmpty() || !confirmed) return Result::Ok();
    Result result;
    QFile file(m_listsPath + name);
    if (IsSafeFileName(name) && file.exists() && !file.remove()) {
        result =
            Result::Error(QStringLiteral("Could not delete %1: %2").arg(name, file.errorString()));
    }
    RefreshListNames();
    return result;
}

void ListEditor::MoveCurrent(int to) {
    const int from = m_currentRow;
    std::swap(m_rows[from], m_rows[to]);
    m_rows[to].selected = true;
    m_currentRow = to;
}

Result ListEditor::ButtonUpProgr2Click() {
    if (Result refused = m_lock.Refusal(); !refused.ok()) return refused;
    if (m_currentRow >= 1) MoveCurrent(m_currentRow - 1);
    return Result::Ok();
}

Result ListEditor::ButtonDnProgr2Click() {
    if (Result refused = m_lock.Refusal(); !refused.ok()) return refused;
    if (m_currentRow >= 0 && m_currentRow <= TotalTracks() - 2) MoveCurrent(m_currentRow + 1);
    return Result::Ok();
}

Result ListEditor::ButtonDelTrackFromProgClick() {
    if (Result refused = m_lock.Refusal(); !refused.ok()) return refused;
    std::erase_if(m_rows, [](const Row& row) { return row.selected; });
    if (m_currentRow >= TotalTracks()) m_currentRow = TotalTracks() - 1;
    return Result::Ok();
}

void ListEditor::ListBoxTitles1KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (key == Qt::Key_A && modifiers.testFlag(Qt::ControlModifier)) {
        for (Row& row : m_rows) row.selected = true;
    } else if (key == Qt::Key_Delete) {
        // A key refused by the lock does nothing, as if it had not been pressed.
        ButtonDelTrackFromProgClick();
    }
}

bool ListEditor::ListBoxFileListBoxKeyDown(int key) const {
    return key == Qt::Key_Delete && !m_lock.LockPrograms && m_chosenList >= 0;
}

std::optional<QString> ListEditor::PlayNowEntry() const {
    if (m_currentRow < 0) return std::nullopt;
    const QString& path = m_rows[m_currentRow].path;
    const QString name = ChosenListName();
    return name.isEmpty() ? path : MakeTrackEntry(path, name);
}

Result ListEditor::AppendRow(const QString& title, const QString& path) {
    if (Result refused = m_lock.Refusal(); !refused.ok()) return refused;
    m_rows.push_back({title, path, false});
    return Result::Ok();
}

void ListEditor::TrackRenamed(int row, const QString& title, const QString& path) {
    if (row < 0 || row >= TotalTracks()) return;
    m_rows[row].title = title;
    m_rows[row].path = path;
}

void ListEditor::PathsRemovedFromFile(const QSet<QString>& paths) {
    const auto removed = [&](const Row& row) { return paths.contains(row.path); };
    m_rows.erase(std::remove_if(m_rows.begin(), m_rows.end(), removed), m_rows.end());
    if (m_currentRow >= TotalTracks()) m_currentRow = TotalTracks() - 1;
}

bool ListEditor::ContainsTitle(const QString& title) const {
    return std::any_of(m_rows.begin(), m_rows.end(),
                       [&](const Row& row) { return row.title == title; });
}

void ListEditor::ClearEditor() {
    m_rows.clear();
    m_currentRow = -1;
}
