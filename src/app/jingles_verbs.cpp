#include "app/station.h"
#include "app/station_commands.h"

// The jingle wall's banks and its "Fade"; the buttons, tabs and "Stop" are the air's verbs
// jingle, jingle-tab and stop-jingle.
std::vector<OperatorVerb> StationCommands::JinglesVerbs() {
    return {
        // "Set Jingles...": the shown tab's bank becomes the list of that name.
        {"jingles-set", VerbArgument::Text,
         [](Station& s, const QString& arg) { return s.m_jingles.SetJingles(arg); }, nullptr, true},
        {"jingles-clear", VerbArgument::None,
         [](Station& s, const QString&) { return s.m_jingles.ClearJingles(); }, nullptr, true},
        {"jingles-fade", VerbArgument::OnOff,
         [](Station& s, const QString& arg) {
             s.m_jingles.SetFadeJingles(arg == u"on");
             return Result::Ok();
         }},
    };
}
