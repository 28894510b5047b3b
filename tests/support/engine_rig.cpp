#include "support/engine_rig.h"

#include <stdexcept>

#include "playback/main_loop.h"
#include "support/mpeg_builder.h"

QDateTime EngineRig::DefaultStart() { return QDateTime(QDate(2026, 12, 7), QTime(10, 5, 0)); }

EngineRig::EngineRig(const QDateTime& start)
    : host(start), link(host, host), engine(host, host, link) {
    engine.Loop().LastProgramSlot = SlotOfTime(start.time().hour(), start.time().minute());
    engine.Loop().ProgramsChanged = false;
    engine.Queue().Seed(7);
}

QString EngineRig::Track(const QString& title, int seconds) {
    const QString path = dir.filePath(title);
    if (!WriteCbrMpeg(path, seconds)) throw std::runtime_error("cannot write a test track");
    return path;
}

void EngineRig::LoadProgram(const QString& listName, const QStringList& lines) {
    PlayQueue& q = engine.Queue();
    q.SetProgram({listName}, {lines});
    q.Clear();
    for (int i = 0; i < PlayQueue::kShownEntries; ++i) q.RefillQueue();
    q.ShowNextTracks();
}

void EngineRig::StartLoop() {
    engine.LaunchPlayers();
    host.Advance(engine.WaitSecInBeggining * 1000);
}
