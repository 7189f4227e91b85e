#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

// Code page 932 (the Windows Japanese code page) through ICU's "windows-31j" converter.
// Both byte forms of the IBM extension kanji (髙 as FB FC and as EE E0) read as the same
// character; writing gives the form Windows writes (FB FC). The NEC-selected rows (lead
// bytes ED and EE) all read as the same characters as the IBM extension rows.
// ～ is 81 60 (U+FF5E) and － is 81 7C (U+FF0D), as Windows reads them. Every byte below
// 80 is its own character, the control codes 1A, 1C and 7F included.
//
// On writing, the characters other Japanese systems and input methods use for what CP932
// holds under another code point are written as the CP932 character that looks the same:
// 〜 U+301C as 81 60, − U+2212 as 81 7C, ‖ U+2016 as 81 61, — U+2014 as 81 5C,
// ¢ £ ¬ (U+00A2, U+00A3, U+00AC) as 81 91, 81 92, 81 CA, and ¥ U+00A5 as 5C. Anything
// else CP932 cannot hold (an emoji, 𠮷) is refused, never written as "?".
//
// Every call opens its own converter; conversion is linear in the length of the text.

struct Cp932Error {
    qsizetype byteOffset = -1; // offset of the first bad byte
    int line = 0;              // 1-based line of that byte
    int column = 0;            // 1-based byte column within the line
    QString description;       // readable, Japanese, without the file name
};

// Strict decoding: an invalid byte sequence gives nullopt and fills error (the place of
// its first byte and a description such as "3 行 5 バイト目は … です。"). A lead byte at
// the very end of the bytes is an error too.
std::optional<QString> decodeCp932(QByteArrayView bytes, Cp932Error* error = nullptr);

// Decoding of a fixed-width field that may have been cut in the middle of a double-byte
// character: the characters that are whole are read, a dangling lead byte is dropped,
// and any other bad byte reads as U+FFFD. Never fails.
QString decodeCp932Field(QByteArrayView bytes);

// Strict encoding: a character CP932 cannot hold gives nullopt and its index in badIndex
// (a UTF-16 index into text; a lone surrogate is refused the same way).
std::optional<QByteArray> encodeCp932(QStringView text, qsizetype* badIndex = nullptr);

// Encodes into exactly width bytes, left-aligned and padded with spaces; a longer text is
// cut to width bytes (which may cut a double-byte character: the files hold such fields).
// Characters CP932 cannot hold give nullopt.
std::optional<QByteArray> encodeCp932Field(QStringView text, int width);
