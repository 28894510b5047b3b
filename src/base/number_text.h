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
/// Any number other than 0 is true; no number gives fallback.
bool BoolFromText(const QString& text, bool fallback);
