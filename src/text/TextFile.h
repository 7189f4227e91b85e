#pragma once

#include <QString>

// Whole-file access for the system's CP932 text files. Files are opened, used and
// closed within each call.

struct TextFileRead {
    bool ok = false;
    QString text;  // decoded content when ok
    QString error; // readable, Japanese, naming the file and what is wrong (and where)
};

// Reads a CP932 text file; a missing file, an unreadable one or bytes that are not CP932
// are errors naming the file (and for bad bytes the line and column).
TextFileRead readCp932File(const QString& path);

// Replaces the file with text in CP932, atomically: a new file is written and flushed
// to the disk, then renamed over the old one, so the file is never half-written.
// A character CP932 cannot hold is refused (nothing is written).
bool writeCp932FileAtomic(const QString& path, const QString& text, QString* error);
