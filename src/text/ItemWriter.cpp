#include "text/ItemWriter.h"

#include <QLocale>
#include <cmath>

void ItemWriter::separate() {
    if (lineStarted_)
        out_ += u',';
    lineStarted_ = true;
}

void ItemWriter::text(const QString& value) {
    separate();
    out_ += u'"';
    for (QChar c : value) {
        // A quote would end the item early and a line end would split the line, so
        // neither can be carried inside a quoted item.
        if (c == u'"') {
            out_ += QChar(0xFF02);
            lossy_ = true;
        } else if (c == u'\r' || c == u'\n') {
            out_ += u' ';
            lossy_ = true;
        } else {
            out_ += c;
        }
    }
    out_ += u'"';
}

void ItemWriter::number(double value) {
    separate();
    out_ += numberText(value);
}

void ItemWriter::bare(const QString& value) {
    separate();
    out_ += value;
}

void ItemWriter::endLine() {
    out_ += QStringLiteral("\r\n");
    lineStarted_ = false;
}

QString ItemWriter::numberText(double value) {
    if (!std::isfinite(value) || value == 0)
        return QStringLiteral("0");
    // Fixed notation, never an exponent: the lenient reader stops at the "e".
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}
