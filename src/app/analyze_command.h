#pragma once

#include <QStringList>

class AnalysisStore;
class QTextStream;
class SoundAnalyzer;

/// `--analyze [--jobs N] FILE...`: prints, in the order given, one line a file:
/// "LUFS<TAB>TRUEPEAK<TAB>START<TAB>END<TAB>PATH" (loudness and true peak with one
/// decimal, "-inf" for silence; start and end of sound in seconds with two). Files are
/// analysed on `jobs` threads (0: one a core); what the store knows of a file unchanged
/// since is taken from it, and every new analysis is kept there (store may be null). A file
/// that cannot be analysed is a line on `err`; the result is 0 when every file was, 1 if not.
int RunAnalyzeCommand(const QStringList& files, int jobs, const SoundAnalyzer& analyzer,
                      AnalysisStore* store, QTextStream& out, QTextStream& err);
