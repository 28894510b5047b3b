#include "app/resume_journal.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr int kVersion = 1;
// Eleven lists of tens of thousands of tracks stay far below this.
constexpr qint64 kLargestJournalBytes = 64 << 20;

QJsonArray Strings(const QStringList& list) { return QJsonArray::fromStringList(list); }

QStringList StringsOf(const QJsonValue& value) {
    QStringList list;
    for (const QJsonValue& v : value.toArray()) list << v.toString();
    return list;
}

QJsonObject NextSpotsJson(const SpotSchedule::Saved& s) {
    QJsonArray checked;
    for (const bool c : s.checked) checked.append(c);
    return {{"paths", Strings(s.paths)},
            {"checked", checked},
            {"day", s.day},
            {"hour", s.hour},
            {"quarter", s.quarter},
            {"slot", s.slot},
            {"lastHour", s.lastHour},
            {"lastMinute", s.lastMinute}};
}

SpotSchedule::Saved NextSpotsOf(const QJsonObject& o) {
    SpotSchedule::Saved s{StringsOf(o["paths"]),   {},
                          o["day"].toInt(-1),      o["hour"].toInt(-1),
                          o["quarter"].toInt(-1),  o["slot"].toString(),
                          o["lastHour"].toInt(-1), o["lastMinute"].toInt(-1)};
    for (const QJsonValue& c : o["checked"].toArray()) s.checked.push_back(c.toBool(true));
    return s;
}

QJsonObject SpotsJson(const SpotRunner::Saved& s) {
    return {{"runActive", s.runActive},
            {"nextIndex", s.nextIndex},
            {"triggeredSlot", s.triggeredSlot},
            {"everySpotPending", s.everySpotPending},
            {"everySpotCursor", s.everySpotCursor},
            {"tracksSinceEverySpot", s.tracksSinceEverySpot},
            {"spotsAccepted", s.spotsAccepted}};
}

SpotRunner::Saved SpotsOf(const QJsonObject& o) {
    return {o["runActive"].toBool(),       o["nextIndex"].toInt(),
            o["triggeredSlot"].toString(), o["everySpotPending"].toBool(),
            o["everySpotCursor"].toInt(),  o["tracksSinceEverySpot"].toInt(),
            o["spotsAccepted"].toBool()};
}

}  // namespace

ReadResult<ResumePoint> ReadJournal(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {Result::Error(QStringLiteral("it cannot be read: %1").arg(file.errorString())), {}};
    if (file.size() > kLargestJournalBytes)
        return {Result::Error(QStringLiteral("it is far too large to be one")), {}};
    return ParseJournal(file.readAll());
}

QByteArray JournalJson(const ResumePoint& p) {
    QJsonArray pools;
    for (const QStringList& pool : p.pools) pools.append(Strings(pool));
    const QJsonObject json{{"version", kVersion},
                           {"written", p.written.toString(Qt::ISODateWithMs)},
                           {"day", p.day.toString(Qt::ISODate)},
                           {"programSlot", p.programSlot},
                           {"programName", p.programName},
                           {"programByHand", p.programByHand},
                           {"currentDeck", p.currentDeck},
                           {"onAirFile", p.onAirFile},
                           {"onAirTitle", p.onAirTitle},
                           {"currentBar", p.currentBar},
                           {"poolNames", Strings(p.poolNames)},
                           {"pools", pools},
                           {"queue", Strings(p.queue)},
                           {"tracksToPlay", p.tracksToPlay},
                           {"playedTitles", Strings(p.playedTitles)},
                           {"playedPaths", Strings(p.playedPaths)},
                           {"nextSpots", NextSpotsJson(p.nextSpots)},
                           {"spots", SpotsJson(p.spots)},
                           {"manual", p.manual},
                           {"programsLocked", p.programsLocked}};
    return QJsonDocument(json).toJson(QJsonDocument::Compact);
}

ReadResult<ResumePoint> ParseJournal(const QByteArray& bytes) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return {Result::Error(QStringLiteral("it is not whole (%1 at byte %2)")
                                  .arg(error.errorString())
                                  .arg(error.offset)),
                {}};
    const QJsonObject o = document.object();
    if (o["version"].toInt() != kVersion)
        return {Result::Error(QStringLiteral("it is of another version")), {}};
    ResumePoint p;
    p.written = QDateTime::fromString(o["written"].toString(), Qt::ISODateWithMs);
    p.day = QDate::fromString(o["day"].toString(), Qt::ISODate);
    p.programSlot = o["programSlot"].toInt(-1);
    p.programName = o["programName"].toString();
    p.programByHand = o["programByHand"].toBool();
    p.currentDeck = o["currentDeck"].toInt(-1);
    p.onAirFile = o["onAirFile"].toString();
    p.onAirTitle = o["onAirTitle"].toString();
    p.currentBar = o["currentBar"].toInt(-1);
    p.poolNames = StringsOf(o["poolNames"]);
    for (const QJsonValue& pool : o["pools"].toArray()) p.pools << StringsOf(pool);
    p.queue = StringsOf(o["queue"]);
    p.tracksToPlay = o["tracksToPlay"].toInt();
    p.playedTitles = StringsOf(o["playedTitles"]);
    p.playedPaths = StringsOf(o["playedPaths"]);
    p.nextSpots = NextSpotsOf(o["nextSpots"].toObject());
    p.spots = SpotsOf(o["spots"].toObject());
    p.manual = o["manual"].toBool();
    p.programsLocked = o["programsLocked"].toBool();
    if (!p.written.isValid() || !p.day.isValid() || p.programSlot < 0 ||
        (p.currentDeck != 0 && p.currentDeck != 1) || p.pools.size() != p.poolNames.size())
        return {Result::Error(QStringLiteral("its fields are missing or out of range")), {}};
    return {Result::Ok(), p};
}
