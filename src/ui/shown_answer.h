#pragma once

#include "app/station_client.h"

class QWidget;

/// An answer that shows a refused or failed command's message (a warning too) in a box over
/// parent; nothing when the command was done, or when parent is gone by the time it comes.
StationClient::Answer ShownAnswer(QWidget* parent);
