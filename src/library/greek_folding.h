#pragma once

#include <QString>
#include <QStringView>

/// The letter folding of the library's search. Titles and search texts may be written in
/// Greek or in Latin letters; these pure functions bring both to the forms compared.

/// The search key of a text in place: "a".."z" become capitals, and every Greek letter
/// (final sigma, accented, with diaeresis or polytonic) its plain capital ("ά", "Ά", "ἄ"
/// → "Α"; "ΐ", "ϊ" → "Ι"; "ς" → "Σ"). Each character stays one character, so positions
/// in the key are those of the text.
void FoldForSearch(QString& text);

/// The Latin (Greeklish) spelling of a folded text: each plain Greek capital becomes one
/// or two Latin letters ("Θ" → "TH", "Ξ" → "KS", "Ψ" → "PS"); every other character stays.
QString MakeGreeklish(const QString& folded);

/// The sound skeleton of a folded text, in which the usual ways of writing a Greek word in
/// Latin letters and the Greek word itself coincide: "ΞΗΜΕΡΩΜΑ", "KSHMERWMA", "ksimeroma"
/// and "ximeroma" all give "KSIMEROMA".
QString GreeklishSkeleton(QStringView folded);

/// The same written to out, which has room for twice the folded text's length; returns the
/// end of what was written. Many titles' skeletons are made this way into one buffer.
char16_t* WriteGreeklishSkeleton(QStringView folded, char16_t* out);

/// The Latin letters of a skeleton, one bit each (bit 0 for "A").
quint32 SkeletonLetters(QStringView skeleton);

/// The letters the skeleton of a folded text may hold (more, never fewer): a title whose
/// letters miss one of a key skeleton's cannot hold it, and needs no skeleton.
quint32 SkeletonLettersMayGive(QStringView folded);
