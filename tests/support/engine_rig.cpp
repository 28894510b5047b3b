#include "support/engine_rig.h"

#include <stdexcept>

#include "playback/main_loop.h"
#include "support/mpeg_builder.h"

EngineRig::EngineRig(const QDateTime& start)
    : host(start), link(host, host), engine(host, host, link) {
    engine.SeedQueue(7);
    QObject::connect(&link, &SimulatedPlayerLink::DeckEvent,
                     [this](int deck, const QString& kind, const QString& detail) {
                         events.push_back({host.ElapsedMs(), deck, kind, detail});
                     });
}

QStringList EngineRig::Tracks(const QList<int>& seconds) {
    QStringList paths;
    for (int i = 0; i < seconds.size(); ++i) {
        paths << dir.filePath(QString("Artist - Title %1.mp3").arg(++made));
        if (!WriteCbrMpeg(paths.back(), seconds[i])) throw std::runtime_error("no test track");
    }
    return paths;
}

void EngineRig::LoadProgram(const QString& listName, const QStringList& lines) {
    engine.StartProgram({listName}, {lines});
}

void EngineRig::StartLoop() {
    engine.LaunchPlayers();
    host.Advance(engine.WaitSecInBeggining * 1000);
}

std::vector<EngineRig::DeckEvent> EngineRig::Events(const QString& kind) const {
    std::vector<DeckEvent> out;
    for (const auto& e : events)
        if (e.kind == kind) out.push_back(e);
    return out;
}
