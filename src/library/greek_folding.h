#pragma once

#include <QString>

/// The letter folding of the library's search. Titles and search texts may be written in
/// Greek or in Latin letters; these pure functions bring both to the forms compared.

/// Upper-cases "a".."z" only; every other character, Greek letters included, stays.
QString UpperLatin(const QString& text);

/// Folds the 25 plain Greek lower-case letters (final sigma included, to "Σ") to their
/// capitals. Accented letters, Latin letters and everything else are copied unchanged, so
/// the result has the length of the input.
QString MakeCapitalGreek(const QString& text);

/// The search key of a text in place, in one pass: UpperLatin, then with greek also
/// MakeCapitalGreek. The length stays, so positions in the key are those of the text.
void FoldForSearch(QString& text, bool greek);

/// The Latin (Greeklish) spelling of a text: each plain Greek capital becomes one or two
/// Latin letters ("Θ" → "TH", "Ξ" → "KS", "Ψ" → "PS"); every other character stays.
QString MakeGreeklish(const QString& text);
