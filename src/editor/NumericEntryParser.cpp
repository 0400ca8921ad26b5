#include "editor/NumericEntryParser.h"

#include <charconv>
#include <string>

namespace {

bool isAsciiLetter(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

} // namespace

double NumericEntryParser(const QString& text)
{
    bool thousands = false;
    std::string rest;
    rest.reserve(std::size_t(text.size()));
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        if (isAsciiLetter(c)) {
            thousands = thousands || c == u'K' || c == u'k';
            continue;
        }
        // Anything outside ASCII cannot be part of a number; keep a marker so that it fails.
        rest.push_back(c < 0x80 ? char(c) : '\x7f');
    }

    std::size_t i = 0;
    const std::size_t n = rest.size();
    while (i < n && rest[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (rest[i] == '+' || rest[i] == '-')) {
        negative = rest[i] == '-';
        ++i;
    }
    const std::size_t numberStart = i;
    int digits = 0;
    int points = 0;
    while (i < n && ((rest[i] >= '0' && rest[i] <= '9') || rest[i] == '.')) {
        if (rest[i] == '.')
            ++points;
        else
            ++digits;
        ++i;
    }
    const std::size_t numberEnd = i;
    while (i < n && rest[i] == ' ')
        ++i;
    if (i != n || points > 1 || (digits == 0 && points == 0))
        return kNumericEntryFailure;

    double value = 0;
    if (digits > 0) {
        // from_chars reads the C locale's form whatever the process locale is.
        const auto result = std::from_chars(rest.data() + numberStart, rest.data() + numberEnd, value,
                                            std::chars_format::fixed);
        if (result.ec == std::errc::result_out_of_range)
            return kNumericEntryFailure;
        if (result.ec != std::errc() || result.ptr != rest.data() + numberEnd)
            return kNumericEntryFailure;
    }
    if (negative)
        value = -value;
    if (thousands)
        value *= 1000;
    return value;
}
