#include "text/LenientNumber.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

bool isSkipped(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

} // namespace

double lenientNumber(QStringView text) {
    std::string number;
    number.reserve(static_cast<size_t>(text.size()) + 1);
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size && isSkipped(text[i]))
        ++i;
    bool negative = false;
    if (i < size && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    bool point = false;
    bool digits = false;
    for (; i < size; ++i) {
        const QChar c = text[i];
        if (isSkipped(c))
            continue;
        if (c >= u'0' && c <= u'9') {
            number += static_cast<char>(c.unicode());
            digits = true;
        } else if (c == u'.' && !point) {
            number += '.';
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return 0;
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range)
        value = std::numeric_limits<double>::infinity();
    if (value == 0)
        return 0; // never a negative zero
    return negative ? -value : value;
}

int lenientInt(QStringView text) {
    const double value = std::nearbyint(lenientNumber(text)); // halves to even
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}
