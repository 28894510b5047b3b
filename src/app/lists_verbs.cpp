#include <QDir>
#include <QRegularExpression>
#include <QThreadPool>
#include <memory>
#include <mutex>

#include "app/station.h"
#include "app/station_commands.h"
#include "base/text_file.h"
#include "base/thread_handoff.h"
#include "housekeeping/dead_entries.h"
#include "playback/program_loader.h"
#include "schedule/list_file.h"

namespace {

QString ListNameRefusal(const Station& s, const QString& arg) {
    const int n = arg.toInt();
    const int count = int(s.Lists().ListNames().size());
    if (n >= 1 && n <= count) return {};
    return QStringLiteral("no list %1 (there are %2)").arg(arg).arg(count);
}

QStringList Numbers(const QString& arg) {
    static const QRegularExpression space(QStringLiteral("\\s+"));
    return arg.split(space, Qt::SkipEmptyParts);
}

// "CURRENT ROW ROW...": the entry with the focus, 0 for none, then the selected entries,
// each counted from 1 and separated by spaces.
QString SelectionRefusal(const Station& s, const QString& arg) {
    const QStringList words = Numbers(arg);
    if (words.isEmpty()) return QStringLiteral("lists-select takes the current row, then rows");
    for (qsizetype i = 0; i < words.size(); ++i) {
        bool number = false;
        const int row = words[i].toInt(&number);
        if (!number || row < (i == 0 ? 0 : 1) || row > s.Lists().TotalTracks())
            return QStringLiteral("no entry %1 in the list (there are %2)")
                .arg(words[i])
                .arg(s.Lists().TotalTracks());
    }
    return {};
}

// The list file is read on a worker, so that a slow share holds neither the air nor the
// window; the editor takes the lines on the station's thread. A failed read is the
// station's problem to tell, as the command has long been answered.
void OpenOffThread(Station& s, ListEditor& lists, const ListEditor::Opening& opening) {
    // Lines read after the station is gone are dropped, unread: the station says so when it
    // goes, and the worker posts to it only while it is there.
    struct Reading {
        std::mutex mutex;
        Station* station = nullptr;
        QMetaObject::Connection gone;
    };
    auto reading = std::make_shared<Reading>();
    reading->station = &s;
    reading->gone = QObject::connect(&s, &QObject::destroyed, [reading] {
        const std::lock_guard lock(reading->mutex);
        reading->station = nullptr;
    });
    QThreadPool::globalInstance()->start(HandOff::Wrap([reading, &lists, opening] {
        ReadResult<QStringList> lines = list_file::Read(opening.listsPath, opening.name);
        const std::lock_guard lock(reading->mutex);
        Station* station = reading->station;
        if (!station) return;
        QMetaObject::invokeMethod(
            station, HandOff::Wrap([reading, station, &lists, opening, lines = std::move(lines)] {
                QObject::disconnect(reading->gone);
                if (const Result done = lists.FinishOpening(opening, lines); !done.ok())
                    Q_EMIT station->Problem(done.message());
            }));
    }));
}

DeadEntryKind UnusedKind(const QString& arg) {
    return arg == u"spots" ? DeadEntryKind::Spots : DeadEntryKind::Songs;
}

QString UnusedKindRefusal(const Station&, const QString& arg) {
    if (arg == u"songs" || arg == u"spots") return {};
    return QStringLiteral("songs or spots, not \"%1\"").arg(arg);
}

// A scan's problems (files that could not be read or written) reach the operator as a
// warning: what was found is still reported.
Result ScanUnused(Station& s, const QString& arg, DeadEntryMode mode) {
    const DeadEntryReport report = s.ScanDeadEntries(UnusedKind(arg), mode);
    if (report.problems.isEmpty()) return Result::Ok();
    return Result::Warning(report.problems.join(u'\n'));
}

// A path relative to wherever the station was started names no folder the operator knows.
QString ReportPathRefusal(const Station&, const QString& arg) {
    if (QDir::isAbsolutePath(arg)) return {};
    return QStringLiteral("the full path of the file to write, not \"%1\"").arg(arg);
}

}  // namespace

// The Lists tab: the names of the lists, the editor of the chosen one and its name box.
std::vector<OperatorVerb> StationCommands::ListsVerbs() {
    return {
        // A click on name N: the list is read into the editor and its name into the name box,
        // once the file is read (off the station's thread).
        {"lists-open", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             if (const auto opening = s.m_lists.StartOpening(arg.toInt() - 1))
                 OpenOffThread(s, s.m_lists, *opening);
             return Result::Ok();
         },
         ListNameRefusal},
        {"lists-include-cds", VerbArgument::OnOff,
         [](Station& s, const QString& arg) {
             s.m_lists.CheckBoxIncludeCDsListsClick(arg == u"on");
             return Result::Ok();
         }},
        {"lists-new", VerbArgument::None,
         [](Station& s, const QString&) { return s.m_lists.SpeedButtonNewProgram1Click(); },
         nullptr, true},
        // The name box's text, as typed (may be empty).
        {"lists-name", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.m_lists.EditNewProgramName1Change(arg);
             return Result::Ok();
         }},
        // Save under the name box's text. An empty editor over a list that holds tracks is
        // written only with the argument "confirmed"; without it nothing is written and the
        // answer is a warning holding the question to ask.
        {"lists-save", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             if (arg != u"confirmed") {
                 if (const QString question = s.m_lists.SaveListQuestion(); !question.isEmpty())
                     return Result::Warning(question);
             }
             return s.m_lists.BitBtnSaveProgram1Click(true);
         },
         nullptr, true},
        // Deletes the chosen list's file (the window asks ListsState::deleteQuestion first).
        {"lists-delete", VerbArgument::None,
         [](Station& s, const QString&) { return s.m_lists.ButtonDelProgram1Click(true); }, nullptr,
         true},
        {"lists-select", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             const QStringList words = Numbers(arg);
             ListEditor& lists = s.m_lists;
             for (int row = 0; row < lists.TotalTracks(); ++row) lists.SetSelected(row, false);
             for (qsizetype i = 1; i < words.size(); ++i)
                 lists.SetSelected(words[i].toInt() - 1, true);
             lists.SetCurrentRow(words[0].toInt() - 1);
             return Result::Ok();
         },
         SelectionRefusal},
        // The loudness of an entry of the list (from 1), for the operator to see.
        {"lists-loudness", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             s.ShowLoudness(s.m_lists.Paths().value(arg.toInt() - 1));
             return Result::Ok();
         },
         [](const Station& s, const QString& arg) {
             return SelectionRefusal(s, QStringLiteral("0 ") + arg);
         }},
        {"lists-select-all", VerbArgument::None,
         [](Station& s, const QString&) {
             s.m_lists.ListBoxTitles1KeyDown(Qt::Key_A, Qt::ControlModifier);
             return Result::Ok();
         }},
        {"lists-move-up", VerbArgument::None,
         [](Station& s, const QString&) { return s.m_lists.ButtonUpProgr2Click(); }, nullptr, true},
        {"lists-move-down", VerbArgument::None,
         [](Station& s, const QString&) { return s.m_lists.ButtonDnProgr2Click(); }, nullptr, true},
        {"lists-remove-tracks", VerbArgument::None,
         [](Station& s, const QString&) { return s.m_lists.ButtonDelTrackFromProgClick(); },
         nullptr, true},
        // The current entry to the head of the queue, at once.
        {"lists-play-now", VerbArgument::None,
         [](Station& s, const QString&) {
             s.PlayNow();
             return Result::Ok();
         }},
        // "PlayThe Program now": the chosen list becomes the program playing.
        {"lists-play-program", VerbArgument::None,
         [](Station& s, const QString&) {
             return s.m_loader.PlayTheProgramnow1Click(s.m_lists.ChosenListName());
         }},
        {"lists-insert-to-playlist", VerbArgument::None,
         [](Station& s, const QString&) {
             s.m_desk.InsertEditorRow();
             return Result::Ok();
         }},
        {"lists-add-to-playlist", VerbArgument::None,
         [](Station& s, const QString&) {
             s.m_desk.AddEditorRowsToPlayList();
             return Result::Ok();
         }},
        // Renames the current entry's file to the name given.
        {"lists-rename-track", VerbArgument::Text,
         [](Station& s, const QString& arg) { return s.m_desk.RenameEditorRow(arg); }, nullptr,
         true},
        // "Clear Unused Songs" / "Clear Unused Spots" ("songs" or "spots"): the report, kept
        // in ListsState::unusedEntries; unused-clear removes what it finds.
        {"unused-report", VerbArgument::Text,
         [](Station& s, const QString& arg) { return ScanUnused(s, arg, DeadEntryMode::Report); },
         UnusedKindRefusal},
        {"unused-clear", VerbArgument::Text,
         [](Station& s, const QString& arg) { return ScanUnused(s, arg, DeadEntryMode::Delete); },
         UnusedKindRefusal, true},
        // The last report as a Rich Text document, to the file given.
        {"unused-save", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             return text_file::WriteLines(arg, RichTextDocument(s.LastDeadEntryLines()));
         },
         ReportPathRefusal},
    };
}
