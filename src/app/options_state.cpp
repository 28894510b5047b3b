#include "app/options_state.h"

#include "app/options.h"
#include "app/station.h"

bool IsSystemColour(ColourValue colour) { return (colour >> 24) == 0x80; }

int SystemColourIndex(ColourValue colour) { return static_cast<int>(colour & 0xFF); }

Rgb RgbOf(ColourValue colour) {
    return {static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
            static_cast<int>((colour >> 16) & 0xFF)};
}

ColourValue ColourFromRgb(int r, int g, int b) {
    return static_cast<ColourValue>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

OptionsState OptionsStateOf(const Station& station) {
    const StationOptions& kept = station.StoredOptions();
    OptionsState state;
    state.values = Options::Values(station.StoredSettings());
    state.lockPrograms = station.Lock().LockPrograms;
    state.simplifyPlayer = kept.SimplifyPlayer;
    state.showAvi = kept.AviOrMessage;
    state.ownerMessage = kept.OwnerMessage;
    state.colours = kept.Colours;
    for (const Caption& caption : kept.Language.captions)
        state.captions.append({caption.component, caption.text});
    state.captionProblem = kept.Language.problem;
    return state;
}
