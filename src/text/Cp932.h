#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

// Code page 932 (the Windows Japanese code page) through ICU's "windows-31j" converter.
// Both byte forms of the IBM extension kanji (髙 as FB FC and as EE E0) read as the same
// character; writing gives the form Windows writes (FB FC).

struct Cp932Error {
    qsizetype byteOffset = -1; // offset of the first bad byte
    int line = 0;              // 1-based line of that byte
    int column = 0;            // 1-based byte column within the line
    QString description;       // readable, Japanese, without the file name
};

// Strict decoding: an invalid byte sequence gives nullopt and fills error.
std::optional<QString> decodeCp932(QByteArrayView bytes, Cp932Error* error = nullptr);

// Decoding of a fixed-width field that may have been cut in the middle of a double-byte
// character: the characters that are whole are read, a dangling lead byte is dropped,
// and any other bad byte reads as U+FFFD. Never fails.
QString decodeCp932Field(QByteArrayView bytes);

// Strict encoding: a character CP932 cannot hold gives nullopt and its index in badIndex.
std::optional<QByteArray> encodeCp932(QStringView text, qsizetype* badIndex = nullptr);

// Encodes into exactly width bytes, left-aligned and padded with spaces; a longer text is
// cut to width bytes (which may cut a double-byte character, as the old writer did).
// Characters CP932 cannot hold give nullopt.
std::optional<QByteArray> encodeCp932Field(QStringView text, int width);
