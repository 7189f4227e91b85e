#pragma once

#include <QString>
#include <optional>

// The comma/line item stream every text file of the system is read as:
// an item ends at "," or a line end (CR LF; a lone LF is accepted), blanks around an item
// are dropped, an item in double quotes is taken without them and may hold commas.
//
// In detail:
// - Line ends are CR LF, a lone LF or a lone CR. Blanks are the half-width space and the
//   tab; a full-width space "　" is text.
// - A "," always promises one more item on the same line: "a,\r\n" gives "a" and then an
//   empty item that ends the line; "a,,b" gives "a", "" and "b".
// - Empty lines, and lines holding only blanks, hold no item: they are skipped wherever
//   they stand (at the start, between lines and at the end). An empty value is written
//   as "" (or as an empty field after a ",") and is then read as an empty item.
// - The end: a final line end, several final empty lines or no final line end at all read
//   alike; "a\r\nb" and "a\r\nb\r\n\r\n" both give "a" and "b" (each ending its line),
//   and then atEnd() is true and next() gives nullopt, as often as it is called.
// - A quoted item runs to the next double quote and may hold commas and blanks, kept as
//   they are (" a " is " a "); it cannot hold a double quote or a line end. What stands
//   between the closing quote and the next separator is dropped ("ab" x,  gives ab). A
//   quote left open ends at the line end. A double quote inside an unquoted item is text.
struct Item {
    QString text;
    bool quoted = false;
    bool endsLine = false; // the item was ended by a line end (or the end of the file)
    int line = 0;          // 1-based line the item starts on
};

class ItemReader {
public:
    explicit ItemReader(QString text);

    // True when no item is left (only line ends and blanks remain). False after a "," at
    // the very end of the text, which still promises an empty item.
    bool atEnd() const;
    // The next item, or nullopt when the file has ended; a caller that needs an item
    // reports nullopt as "the file ends inside ...".
    std::optional<Item> next();
    // The 1-based line the reader has reached, for messages: after the last item of a
    // line it is the number of the following line.
    int line() const { return line_; }

private:
    void skipLineEnd();

    QString text_;
    qsizetype pos_ = 0;
    int line_ = 1;
    bool itemPending_ = false; // a "," was read: an item follows on this line
};
