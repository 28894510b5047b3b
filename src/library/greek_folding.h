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

/// Appends the sound skeleton of a folded text, in which the usual ways of writing a Greek
/// word in Latin letters and the Greek word itself coincide: "ΞΗΜΕΡΩΜΑ", "KSHMERWMA",
/// "ksimeroma" and "ximeroma" all give "KSIMEROMA".
void AppendGreeklishSkeleton(QStringView folded, QString& out);
