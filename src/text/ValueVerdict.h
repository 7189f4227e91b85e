#pragma once

#include <QString>
#include <utility>

// What a value rule says of one value read from a school's file: usable as written, or
// why not. The message names the value and what is wrong with it; the reader that asked
// adds the file and the line, which only it knows.
struct ValueVerdict {
    bool ok = true;
    QString message; // readable, Japanese; empty when ok

    static ValueVerdict usable() { return {}; }
    static ValueVerdict fault(QString message) { return {false, std::move(message)}; }
};
