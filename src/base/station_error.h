#pragma once

#include <QString>
#include <cstdio>

/// The station's own lines for whoever reads its standard error: problems, refusals, what
/// a deck went through. What libraries print there may be sent to a log instead (see
/// platform/library_output.h); these lines always reach the real standard error.
namespace station_error {

/// Writes the line and a line end, and flushes.
void Print(const QString& line);
/// Where Print writes: standard error until SetStream names another.
std::FILE* Stream();
void SetStream(std::FILE* stream);

}  // namespace station_error
