#include "text/FixedWidth.h"

QString rightField(const QString& text, int width) {
    if (width <= 0)
        return QString();
    if (text.size() >= width)
        return text.right(width);
    return QString(width - text.size(), u' ') + text;
}

QString rightField(long long number, int width) {
    return rightField(QString::number(number), width);
}

QString leftField(const QString& text, int width) {
    if (width <= 0)
        return QString();
    if (text.size() >= width)
        return text.left(width);
    return text + QString(width - text.size(), u' ');
}

QString nameField(const QString& name, int width) {
    if (width <= 0)
        return QString();
    if (name.size() >= width)
        return name.left(width);
    return name + QString(width - name.size(), QChar(0x3000));
}
