#include "roster/ColumnText.h"

namespace {

bool isSingleByte(char16_t c) {
    return (c >= 0x20 && c <= 0x7E) || (c >= 0xFF61 && c <= 0xFF9F);
}

// Columns of the character starting at text[i]; its length in code units in `units`.
int columnsAt(const QString& text, qsizetype i, qsizetype& units) {
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
        units = 2;
        return 2;
    }
    units = 1;
    return isSingleByte(c.unicode()) ? 1 : 2;
}

} // namespace

int columnsOf(const QString& text) {
    int columns = 0;
    for (qsizetype i = 0; i < text.size();) {
        qsizetype units = 1;
        columns += columnsAt(text, i, units);
        i += units;
    }
    return columns;
}

QString fitColumns(const QString& text, int columns) {
    int used = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        qsizetype units = 1;
        const int width = columnsAt(text, end, units);
        if (used + width > columns) {
            break;
        }
        used += width;
        end += units;
    }
    QString field = text.left(end);
    const int left = columns - used;
    if (left % 2 == 1) {
        field.append(QLatin1Char(' '));
    }
    field.append(QString(left / 2, QChar(u'　')));
    return field;
}
