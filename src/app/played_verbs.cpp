#include <QDir>

#include "app/station.h"
#include "app/station_commands.h"

namespace {

QString PlayedRowRefusal(const Station& s, const QString& arg) {
    const int n = arg.toInt();
    const int count = s.Engine().Played().Count();
    if (n >= 1 && n <= count) return {};
    return QStringLiteral("no row %1 in the played list (there are %2)").arg(arg).arg(count);
}

// An empty argument chooses no row.
QString PlayedChoiceRefusal(const Station& s, const QString& arg) {
    return arg.isEmpty() ? QString() : PlayedRowRefusal(s, arg);
}

// A path relative to wherever the station was started names no folder the operator knows.
QString SavePathRefusal(const Station&, const QString& arg) {
    if (arg.isEmpty() || QDir::isAbsolutePath(arg)) return {};
    return QStringLiteral("the full path of the file to write, not \"%1\"").arg(arg);
}

}  // namespace

// The played list: its chosen row played again or added to the list being edited, the
// whole list saved as a list file or cleared, and the box that keeps it over a program.
// Clearing it, keeping it and adding to a list are edits: the lock refuses them.
std::vector<OperatorVerb> StationCommands::PlayedVerbs() {
    return {
        // The operator's row N; empty for none.
        {"played-select", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.m_engine.SelectPlayedRow(arg.isEmpty() ? -1 : arg.toInt() - 1);
             return Result::Ok();
         },
         PlayedChoiceRefusal},
        {"played-play", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             s.m_engine.PlayPlayedRow(arg.toInt() - 1);
             return Result::Ok();
         },
         PlayedRowRefusal},
        {"played-clear", VerbArgument::None,
         [](Station& s, const QString&) {
             s.m_engine.ClearPlayed();
             return Result::Ok();
         },
         nullptr, true},
        // "Save...": the played tracks' paths to the file given (a path).
        {"played-save", VerbArgument::Text,
         [](Station& s, const QString& arg) { return s.SavePlayedList(arg); }, SavePathRefusal,
         true},
        {"played-dont-clear", VerbArgument::OnOff,
         [](Station& s, const QString& arg) {
             s.m_loader.CheckBoxDontClearAutomaticallyPrevTracksClick(arg == u"on");
             return Result::Ok();
         },
         nullptr, true},
        // "AddToProgram": the chosen row into the list being edited.
        {"played-add-to-list", VerbArgument::None,
         [](Station& s, const QString&) { return s.m_desk.AddPlayedToProgram(); }, nullptr, true},
    };
}
