#include "text/ItemReader.h"

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}
bool isLineEnd(QChar c) {
    return c == u'\r' || c == u'\n';
}

} // namespace

ItemReader::ItemReader(QString text) : text_(std::move(text)) {}

bool ItemReader::atEnd() const {
    if (itemPending_)
        return false;
    for (qsizetype i = pos_; i < text_.size(); ++i) {
        const QChar c = text_.at(i);
        if (!isBlank(c) && !isLineEnd(c))
            return false;
    }
    return true;
}

void ItemReader::skipLineEnd() {
    if (pos_ < text_.size() && text_.at(pos_) == u'\r')
        ++pos_;
    if (pos_ < text_.size() && text_.at(pos_) == u'\n')
        ++pos_;
    ++line_;
}

std::optional<Item> ItemReader::next() {
    const qsizetype size = text_.size();
    if (itemPending_) {
        // A "," promised one more item on this line, empty if the line ends here.
        while (pos_ < size && isBlank(text_.at(pos_)))
            ++pos_;
    } else {
        // Between lines, empty and blank lines hold no item.
        while (pos_ < size && (isBlank(text_.at(pos_)) || isLineEnd(text_.at(pos_)))) {
            if (isLineEnd(text_.at(pos_)))
                skipLineEnd();
            else
                ++pos_;
        }
        if (pos_ >= size)
            return std::nullopt;
    }

    Item item;
    item.line = line_;
    if (pos_ < size && text_.at(pos_) == u'"') {
        item.quoted = true;
        const qsizetype start = ++pos_;
        while (pos_ < size && text_.at(pos_) != u'"' && !isLineEnd(text_.at(pos_)))
            ++pos_;
        item.text = text_.mid(start, pos_ - start);
        if (pos_ < size && text_.at(pos_) == u'"')
            ++pos_;
        // What follows the closing quote up to the separator is not part of the item.
        while (pos_ < size && text_.at(pos_) != u',' && !isLineEnd(text_.at(pos_)))
            ++pos_;
    } else {
        const qsizetype start = pos_;
        while (pos_ < size && text_.at(pos_) != u',' && !isLineEnd(text_.at(pos_)))
            ++pos_;
        qsizetype end = pos_;
        while (end > start && isBlank(text_.at(end - 1)))
            --end;
        item.text = text_.mid(start, end - start);
    }

    if (pos_ < size && text_.at(pos_) == u',') {
        ++pos_;
        itemPending_ = true;
    } else {
        item.endsLine = true;
        itemPending_ = false;
        if (pos_ < size)
            skipLineEnd();
    }
    return item;
}
