#include "app/window_state.h"

#include "app/station.h"

WindowState WindowStateOf(const Station& station) {
    return {.time = station.Engine().Panel().Display().LabelTime1,
            .weekday = station.Loader().LabelHmera1(),
            .date = station.Loader().LabelMera1(),
            .advertLeft = station.AdvertMarquee().LabelLeft,
            .messageLeft = station.MessageMarquee().LabelLeft,
            .shutdownVisible = station.Shutdown().PanelShutdownVisible(),
            .shutdownSeconds = station.Shutdown().LabelWinShutDnSec1(),
            .lineInDown = station.LineInput().ButtonDown(),
            .lineInPosition = station.LineInput().Position(),
            .videoFile = station.Folders().StartFolder + QStringLiteral("fm.avi"),
            .pageAsked = station.PageAsked(),
            .pageAskedSerial = station.PageAskedSerial()};
}
