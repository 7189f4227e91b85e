#include "text/LenientNumber.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

bool isSkipped(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// The characters the lenient reading takes: the digits and the point, without blanks.
struct Scanned {
    std::string number;
    bool negative = false;
    bool digits = false;
};

Scanned scan(QStringView text) {
    Scanned scanned;
    scanned.number.reserve(static_cast<size_t>(text.size()) + 1);
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size && isSkipped(text[i]))
        ++i;
    if (i < size && (text[i] == u'-' || text[i] == u'+')) {
        scanned.negative = text[i] == u'-';
        ++i;
    }
    bool point = false;
    for (; i < size; ++i) {
        const QChar c = text[i];
        if (isSkipped(c))
            continue;
        if (c >= u'0' && c <= u'9') {
            scanned.number += static_cast<char>(c.unicode());
            scanned.digits = true;
        } else if (c == u'.' && !point) {
            scanned.number += '.';
            point = true;
        } else {
            break;
        }
    }
    return scanned;
}

} // namespace

double lenientNumber(QStringView text) {
    const Scanned scanned = scan(text);
    if (!scanned.digits)
        return 0;
    const std::string& number = scanned.number;
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range)
        value = std::numeric_limits<double>::infinity();
    if (value == 0)
        return 0; // never a negative zero
    return scanned.negative ? -value : value;
}

int lenientInt(QStringView text) {
    const double value = std::nearbyint(lenientNumber(text)); // halves to even
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

bool startsWithNumber(QStringView text) {
    return scan(text).digits;
}

bool holdsFullWidthDigit(QStringView text) {
    for (const QChar c : text) {
        if (c >= u'０' && c <= u'９') {
            return true;
        }
    }
    return false;
}

QString halfWidthNumberText(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c >= u'０' && c <= u'９') {
            out += QChar(u'0' + (c.unicode() - u'０'));
        } else if (c == u'．') {
            out += QLatin1Char('.');
        } else if (c == u'－') {
            out += QLatin1Char('-');
        } else if (c == u'＋') {
            out += QLatin1Char('+');
        } else {
            out += c;
        }
    }
    return out;
}
