#include <optional>

#include "app/station.h"
#include "app/station_commands.h"
#include "schedule/list_file.h"

namespace {

using Page = Library::Page;
constexpr int kPages = 4;

// "N" or "N REST": the page by its tab's number from 1; nothing when there is no such page.
std::optional<Page> PageOf(const QString& argument) {
    bool number = false;
    const int page = argument.section(u' ', 0, 0).toInt(&number);
    if (!number || page < 1 || page > kPages) return std::nullopt;
    return Page(page - 1);
}

QString PageRefusal(const Station&, const QString& argument) {
    if (PageOf(argument)) return {};
    return QStringLiteral("there is no library page \"%1\"").arg(argument.section(u' ', 0, 0));
}

// A row of a list of names, counted from 1.
QString RowRefusal(const QString& argument, qsizetype rows, const char* what) {
    if (argument.toInt() <= rows) return {};
    return QStringLiteral("there is no %1 %2").arg(QLatin1String(what), argument);
}

// "N ROWS": the rows of page N, each a number from 1 or a run "FIRST-LAST" (from 0 after).
std::optional<QList<int>> RowsOf(const QString& argument) {
    QList<int> rows;
    const QStringList words = argument.split(u' ', Qt::SkipEmptyParts).mid(1);
    for (const QString& word : words) {
        bool firstOk = false;
        bool lastOk = false;
        const int first = word.section(u'-', 0, 0).toInt(&firstOk);
        const int last = word.contains(u'-') ? word.section(u'-', 1).toInt(&lastOk) : first;
        if (!firstOk || (word.contains(u'-') && !lastOk) || first < 1 || last < first)
            return std::nullopt;
        for (int row = first; row <= last; ++row) rows.append(row - 1);
    }
    return rows;
}

QString RowsRefusal(const Station& station, const QString& argument) {
    if (QString reason = PageRefusal(station, argument); !reason.isEmpty()) return reason;
    if (RowsOf(argument)) return {};
    return QStringLiteral("rows are numbers from 1 or runs such as 3-7, not \"%1\"")
        .arg(argument.section(u' ', 1));
}

Result Done() { return Result::Ok(); }

}  // namespace

std::vector<OperatorVerb> StationCommands::LibraryVerbs() {
    return {
        // The library's tab: 1 "DIR", 2 "Lists Alphabetic", 3 "Search", 4 "Artists".
        {"library-page", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             s.SearchingLibrary().PageControl1Change(*PageOf(arg));
             return Done();
         },
         PageRefusal},
        // DIR: the folder chosen in the tree, and the mask of its files (1 "*.mp3" .. 4 "all").
        {"library-folder", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.SearchingLibrary().DirectoryOutline1Change(arg);
             return Done();
         }},
        {"library-mask", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             s.SearchingLibrary().FilterComboBox1Change(arg.toInt() - 1);
             return Done();
         },
         [](const Station&, const QString& arg) {
             return RowRefusal(arg, DirView::MaskNames().size(), "mask");
         }},
        // The tracks of every sub-folder of the chosen folder into the list being edited,
        // once read.
        {"library-add-from-dir", VerbArgument::None,
         [](Station& s, const QString&) {
             s.m_desk.BitBtnAddFromDirAllToProgClick();
             return Done();
         },
         nullptr, true},
        // Lists Alphabetic: "+CDs" and the list whose tracks are shown.
        {"library-lists-cds", VerbArgument::OnOff,
         [](Station& s, const QString& arg) {
             s.SearchingLibrary().CheckBoxIncludeCDsAlphabeticClick(arg == u"on");
             return Done();
         }},
        {"library-list", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             s.SearchingLibrary().ListBoxListsForFileClick(arg.toInt() - 1);
             return Done();
         },
         [](const Station& s, const QString& arg) {
             return RowRefusal(arg, s.MusicLibrary().AlphabeticListNames().size(), "list");
         }},
        // Search: the two texts (the first searches, the second narrows), "+CDs" and "+",
        // which keeps the first text among the favourites.
        {"library-search", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.SearchingLibrary().EditSearch1Change(arg);
             return Done();
         }},
        {"library-search-and", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.SearchingLibrary().EditSearch2Change(arg);
             return Done();
         }},
        {"library-search-cds", VerbArgument::OnOff,
         [](Station& s, const QString& arg) {
             s.SearchingLibrary().CheckBoxSearchCDsClick(arg == u"on");
             return Done();
         }},
        {"library-favourite", VerbArgument::None,
         [](Station& s, const QString&) {
             s.SearchingLibrary().SpeedButtonAddClick();
             return Done();
         }},
        // Artists: "+CDs" and the artist whose tracks are shown.
        {"library-artists-cds", VerbArgument::OnOff,
         [](Station& s, const QString& arg) {
             s.SearchingLibrary().CheckBoxCDsArtistsClick(arg == u"on");
             return Done();
         }},
        {"library-artist", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             s.SearchingLibrary().ListBoxArtistClick(arg.toInt() - 1);
             return Done();
         },
         [](const Station& s, const QString& arg) {
             return RowRefusal(arg, s.MusicLibrary().Artists().size(), "artist");
         }},
        // "PAGE ROWS": the operator's whole selection of a page's tracks, e.g. "3 1 7-9";
        // "3" alone selects none.
        {"library-select", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.SearchingLibrary().Rows(*PageOf(arg)).SetSelection(*RowsOf(arg));
             return Done();
         },
         RowsRefusal},
        // "PAGE ROW": the current track of a page, e.g. "3 12" ("3 0" makes none current);
        // on Search and Artists it names the track's list.
        {"library-current", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             Library& library = s.SearchingLibrary();
             const Page page = *PageOf(arg);
             const int row = arg.section(u' ', 1, 1).toInt() - 1;
             if (page == Page::Search && row >= 0)
                 library.ListBoxListAll1Click(row);
             else if (page == Page::Artists && row >= 0)
                 library.ListBoxArtistTracksClick(row);
             else
                 library.Rows(page).SetCurrentRow(row);
             return Done();
         },
         PageRefusal},
        // "PAGE ROW": the loudness of a page's row (from 1), for the operator to see.
        {"library-loudness", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             const TrackRows& rows = s.SearchingLibrary().Rows(*PageOf(arg));
             s.ShowLoudness(SplitTrackEntry(rows.Entry(arg.section(u' ', 1, 1).toInt() - 1)).path);
             return Done();
         },
         [](const Station& s, const QString& arg) {
             if (QString reason = PageRefusal(s, arg); !reason.isEmpty()) return reason;
             const int row = arg.section(u' ', 1, 1).toInt();
             const int rows = s.MusicLibrary().Rows(*PageOf(arg)).Count();
             if (row >= 1 && row <= rows) return QString();
             return QStringLiteral("there is no row %1 on that page (it has %2)")
                 .arg(arg.section(u' ', 1, 1))
                 .arg(rows);
         }},
        // What a page's current track (or selection) is for, the page by number.
        {"library-insert", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             s.m_desk.InsertIntoQueue(*PageOf(arg));
             return Done();
         },
         PageRefusal},
        {"library-play", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             s.m_desk.PlayAtOnce(*PageOf(arg));
             return Done();
         },
         PageRefusal},
        {"library-add-to-playlist", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             s.m_desk.AddToPlayList(*PageOf(arg));
             return Done();
         },
         PageRefusal},
        // The selection into the list being edited; the pages whose item stays while the
        // programs are locked may add then too.
        {"library-add-to-program", VerbArgument::Number,
         [](Station& s, const QString& arg) { return s.m_desk.AddToProgram(*PageOf(arg)); },
         PageRefusal},
        {"library-send-as-spot", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             if (const auto track = s.SearchingLibrary().CurrentTrack(*PageOf(arg)))
                 s.m_spots.SendAsSpot(track->path);
             return Done();
         },
         PageRefusal},
        // The add button: the shown library page into the tab of the calendar area given
        // (1 Calendar, 2 Spots, 3 Lists).
        {"library-add", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             return s.m_desk.ButtonAddToProgrClick(CalendarAreaTab(arg.toInt() - 1)).result;
         },
         [](const Station&, const QString& arg) { return RowRefusal(arg, 3, "calendar tab"); },
         true},
        {"library-add-played-to-program", VerbArgument::None,
         [](Station& s, const QString&) { return s.m_desk.AddPlayedToProgram(); }, nullptr, true},
        // "PAGE NAME": the page's current track gets the name typed (the rest of the line).
        {"library-rename", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             const qsizetype space = arg.indexOf(u' ');
             return s.m_desk.Rename(*PageOf(arg), space < 0 ? QString() : arg.mid(space + 1));
         },
         PageRefusal, true},
    };
}
