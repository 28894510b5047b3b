#include "app/spots_state.h"

#include "app/station.h"

SpotsState SpotsStateOf(const Station& station) {
    const SpotEditor& spots = station.SpotsTab();
    const SpotSchedule& next = station.NextSpots();
    const SpotRunner& runner = station.Spots();
    SpotsState state;
    state.dayTab = spots.SpotDayTab();
    state.hour = spots.SpotHour();
    state.quarterTab = spots.SpotQuarterTab();
    state.quarterCaptions = spots.QuarterCaptions();
    state.titles = spots.EditedSpotTitles();
    state.selected = spots.SelectedSpot();
    state.locked = station.Lock().LockPrograms;
    state.nextTitles = next.NextSpotTitles();
    for (int i = 0; i < next.NextSpotPaths().size(); ++i)
        state.nextChecked << next.NextSpotChecked(i);
    state.warningVisible = runner.PanelManualSpotsWarning();
    state.warningColour = runner.WarningColour();
    state.warningSecondsLeft = runner.WarningSecondsLeft();
    const spot_statistics::StatsView& stats = spots.Statistics();
    state.stats = {stats.LabelStats, stats.LabelNumberOfStats, stats.Grid, stats.Problem};
    return state;
}
