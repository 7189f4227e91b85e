#pragma once

#include <QString>

// Writes items the way the system's rewritten files hold them: text items in double
// quotes, numbers bare, items separated by ",", lines ended by CR LF. Reading the result
// back with ItemReader gives the same items.
//
// A quoted item cannot carry a double quote or a line end: text() writes a double quote
// as the full-width "＂" and a line end as a blank, and lossy() then tells the caller
// that the file would not read back exactly (a caller may refuse such a text instead).
class ItemWriter {
public:
    void text(const QString& value); // in double quotes
    void number(double value);       // bare, shortest form: 4, 1.5, -2
    void bare(const QString& value); // written as it stands
    void endLine();
    const QString& result() const { return out_; }
    // True once a text held a double quote or a line end (see above).
    bool lossy() const { return lossy_; }

    // The bare form number() writes: the shortest text that reads back as the same value,
    // in fixed notation (never an exponent, which the lenient reader would stop at);
    // 0 for a zero, a negative zero, an infinity or NaN.
    static QString numberText(double value);

private:
    void separate();
    QString out_;
    bool lineStarted_ = false;
    bool lossy_ = false;
};
