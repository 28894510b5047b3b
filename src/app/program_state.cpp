#include "app/program_state.h"

#include "app/station.h"

ProgramState ProgramStateOf(const Station& station) {
    const ProgramLoader& loader = station.Loader();
    const PlayQueue& queue = station.Engine().Queue();
    ProgramState state{.programName = loader.LabelProgramName1(),
                       .span = loader.LabelWra2(),
                       .tracksToPlay = loader.LabeltracksToPlay1(),
                       .randomPlay = queue.RandomPlay(),
                       .nextTracks = {},
                       .nextColours = {}};
    for (int n = 1; n <= PlayQueue::kShownEntries; ++n) {
        state.nextTracks.append(queue.NextTrackTexts()[n - 1]);
        state.nextColours.append(queue.LabelColour(n));
    }
    return state;
}
