#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "base/result.h"

/// Text files as lists of lines. Reading splits at CR, LF or CR LF and decodes UTF-8
/// when the bytes are valid UTF-8, Windows-1253 (Greek) otherwise. Writing replaces the
/// whole file atomically (a failed write leaves the old file whole) with CR LF after
/// every line, UTF-8 on Linux.
namespace text_file {

/// A missing file reads as no lines and no error. A file that holds NUL bytes (audio,
/// an image, a UTF-16 text) or is too large to be a list is refused with an error. An
/// error names the file and the system's reason.
ReadResult<QStringList> ReadLines(const QString& path);
/// The same file's text whole, line breaks included (for a caller that scans it at once).
ReadResult<QString> ReadText(const QString& path);

/// On failure, an error naming the file and the system's reason; the old file stays whole.
Result WriteLines(const QString& path, const QStringList& lines);
/// The same for bytes as they are: a reader finds the old file or the new one, whole.
Result WriteBytes(const QString& path, const QByteArray& bytes);

/// A save in progress writes a hidden file ".<name>.<random>.saving" beside its file, which
/// a kill or a power cut can leave behind. This removes such files older than a minute from
/// folder (no save takes that long) and returns how many. (On Windows saves still go
/// through Qt's own temporary file, "<name>.<random>", which this leaves alone.)
int RemoveSaveLeftovers(const QString& folder);

/// Decodes bytes as UTF-8 when valid, as Windows-1253 otherwise.
QString DecodeText(const QByteArray& bytes);
/// Decodes bytes as Windows-1253. The bytes the code page leaves undefined map to
/// distinct characters as Windows maps them, so nothing is lost.
QString DecodeWindows1253(const QByteArray& bytes);
/// Encodes text as Windows-1253; characters outside the code page become "?".
QByteArray EncodeWindows1253(const QString& text);
/// The bytes written for text: UTF-8, or the ANSI code page on Windows.
QByteArray EncodeText(const QString& text);
/// Splits text into lines at CR, LF or CR LF; a last line without an ending counts.
QStringList SplitLines(const QString& text);

}  // namespace text_file
