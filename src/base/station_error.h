#pragma once

#include <QString>
#include <cstdio>

/// The station's own lines for whoever reads its standard error: problems, refusals, what
/// a deck went through. What libraries print there may be sent to a log instead (see
/// platform/library_output.h); these lines always reach the real standard error.
namespace station_error {

/// How grave a line is, for a reader that sorts lines by it (the system's journal).
enum class Severity { Error, Warning, Info };

/// Writes the line and a line end, and flushes. When the stream is the system's journal
/// (the station runs as a service), each line starts with its priority as the journal
/// reads it ("<4>"); elsewhere the line is written as it is.
void Print(const QString& line, Severity severity = Severity::Warning);
/// Where Print writes: standard error until SetStream names another.
std::FILE* Stream();
void SetStream(std::FILE* stream);

}  // namespace station_error
