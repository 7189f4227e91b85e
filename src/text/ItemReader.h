#pragma once

#include <QString>
#include <optional>

// The comma/line item stream every text file of the system is read as:
// an item ends at "," or a line end (CR LF; a lone LF is accepted), blanks around an item
// are dropped, an item in double quotes is taken without them and may hold commas.
struct Item {
    QString text;
    bool quoted = false;
    bool endsLine = false; // the item was ended by a line end (or the end of the file)
    int line = 0;          // 1-based line the item starts on
};

class ItemReader {
public:
    explicit ItemReader(QString text);

    // True when no item is left (only line ends and blanks remain).
    bool atEnd() const;
    // The next item, or nullopt when the file has ended; a caller that needs an item
    // reports nullopt as "the file ends inside ...".
    std::optional<Item> next();
    // The 1-based line the reader has reached, for messages.
    int line() const { return line_; }

private:
    QString text_;
    qsizetype pos_ = 0;
    int line_ = 1;
};
