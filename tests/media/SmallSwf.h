#pragma once

#include <QByteArray>
#include <QColor>

// The smallest animation that shows something: a stage of width x height pixels whose
// background is colour, one frame long (FileAttributes, SetBackgroundColor, ShowFrame, End).
inline QByteArray smallSwf(const QColor& colour, int width = 320, int height = 240) {
    QByteArray body;
    // The stage rectangle in twips, as four signed fields of 15 bits after a 5-bit size.
    constexpr int fieldBits = 15;
    const quint32 fields[] = {fieldBits, 0, static_cast<quint32>(width * 20), 0,
                              static_cast<quint32>(height * 20)};
    quint32 accumulator = 0;
    int pending = 0;
    for (int i = 0; i < 5; ++i) {
        const int bits = i == 0 ? 5 : fieldBits;
        for (int b = bits - 1; b >= 0; --b) {
            accumulator = (accumulator << 1) | ((fields[i] >> b) & 1);
            if (++pending == 8) {
                body.append(static_cast<char>(accumulator));
                accumulator = 0;
                pending = 0;
            }
        }
    }
    if (pending > 0) {
        body.append(static_cast<char>(accumulator << (8 - pending)));
    }
    body.append(QByteArray("\x00\x0c\x01\x00", 4)); // 12 frames a second, one frame
    auto tag = [&body](int code, const QByteArray& data) {
        const quint16 header = static_cast<quint16>((code << 6) | data.size());
        body.append(static_cast<char>(header & 0xff));
        body.append(static_cast<char>(header >> 8));
        body.append(data);
    };
    tag(69, QByteArray(4, '\0')); // FileAttributes: nothing special
    QByteArray rgb;
    rgb.append(static_cast<char>(colour.red()));
    rgb.append(static_cast<char>(colour.green()));
    rgb.append(static_cast<char>(colour.blue()));
    tag(9, rgb);                   // SetBackgroundColor
    tag(1, QByteArray());          // ShowFrame
    tag(0, QByteArray());          // End
    QByteArray file("FWS\x0a", 4); // uncompressed, version 10
    const quint32 length = static_cast<quint32>(8 + body.size());
    for (int i = 0; i < 4; ++i) {
        file.append(static_cast<char>((length >> (8 * i)) & 0xff));
    }
    return file + body;
}
