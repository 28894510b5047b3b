#pragma once

#include <QString>
#include <optional>

/// The one conversion of a stored or typed text into a whole number: optional leading
/// blanks and sign, then decimal digits, or hexadecimal after "0x", "0X" or "$". Hexadecimal
/// takes up to 32 bits and wraps into the signed range (0x8000000F is a negative number),
/// so colours and flags round-trip; anything else, trailing text included, is no number.

/// The number in text, or nothing when text is not a whole number in the int range.
std::optional<int> ParseInt(const QString& text);
/// The number in text, or fallback.
int IntFromText(const QString& text, int fallback);
/// A check box's stored value: any number other than 0 is true, and so is "true" ("false"
/// is false) in any case, as Qt and people write it; anything else gives fallback.
bool BoolFromText(const QString& text, bool fallback);

/// Text that came from outside, fit to be repeated in a message: as it is when short,
/// otherwise its first `kept` characters (the longest file name by default), "…" and its length
/// ("abc… (1048576 characters)").
QString CutForEcho(const QString& text, qsizetype kept = 256);
