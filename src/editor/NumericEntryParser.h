#pragma once
#include <QString>

// What NumericEntryParser returns for text it cannot read. Callers compare with it before they use
// a value, so a typed 1234567 reads as unreadable too.
inline constexpr double kNumericEntryFailure = 1234567;

// Reads a number typed into a value box: letters A..Z of either case are dropped ("-3dB" reads -3,
// "1e3" reads 13), and a K anywhere multiplies by 1000 ("2k" 2000, "1.5KHz" 1500). What remains
// must be optional blanks, an optional sign, digits with at most one decimal point, optional
// blanks; a lone decimal point reads as 0. Anything else (empty text, "Hz", "1.2.3") gives
// kNumericEntryFailure.
double NumericEntryParser(const QString& text);
