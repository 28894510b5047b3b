#include "app/station_options.h"

StationOptions::StationOptions() {
    m_settings.Add("GreeklishSearch", GreeklishSearch)
        .Add("OwnerMessage", OwnerMessage)
        .Add("SimplifyPlayer", SimplifyPlayer)
        .Add("AviOrMessage", AviOrMessage);
}
