#pragma once

#include <QString>

// Writes items the way the system's rewritten files hold them: text items in double
// quotes, numbers bare, items separated by ",", lines ended by CR LF. Reading the result
// back with ItemReader gives the same items.
class ItemWriter {
public:
    void text(const QString& value); // in double quotes
    void number(double value);       // bare, shortest form: 4, 1.5, -2
    void bare(const QString& value); // written as it stands
    void endLine();
    const QString& result() const { return out_; }

private:
    void separate();
    QString out_;
    bool lineStarted_ = false;
};
