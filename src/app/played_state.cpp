#include "app/played_state.h"

#include "app/station.h"

PlayedState PlayedStateOf(const Station& station) {
    const PlayedList& played = station.Engine().Played();
    return {played.Titles(),
            played.Paths(),
            played.TopRow,
            played.SelectedRow,
            played.LabelPlayedTracks,
            station.Loader().DontClearPrevTracks,
            station.Lock().LockPrograms,
            station.Folders().ListsPath};
}
