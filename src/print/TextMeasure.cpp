#include "print/TextMeasure.h"

#include <QFont>

namespace {

// The reference font is sized in pixels as large as its size in twips (one point is 20
// twips), so a measured advance is in twips.
QFont referenceFont(const QString& family) {
    QFont font(family);
    font.setPixelSize(TextMeasure::referencePoints * 20);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

bool isWordCharacter(QChar c) {
    return c.unicode() < 0x80 && (c.isLetterOrNumber() || c == u'\'' || c == u'-');
}

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'　';
}

// Marks that never begin a line in Japanese text.
bool closesLine(QChar c) {
    static constexpr char16_t marks[] =
        u"、。，．,.)）」』】〕〉》！？!?"
        u"ー～ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ々ゝゞ・：；:;";
    for (char16_t m : marks) {
        if (m != 0 && c.unicode() == m) {
            return true;
        }
    }
    return false;
}

} // namespace

TextMeasure::TextMeasure(const QString& family) : metrics_(referenceFont(family)) {}

double TextMeasure::advance(QStringView character) {
    const QString key = character.toString();
    auto found = advances_.constFind(key);
    if (found != advances_.constEnd()) {
        return *found;
    }
    const double width = metrics_.horizontalAdvance(key);
    advances_.insert(key, width);
    return width;
}

std::vector<TextMeasure::Unit> TextMeasure::units(QStringView text) {
    std::vector<Unit> result;
    result.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length =
            (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2
                                                                                               : 1;
        result.push_back({i, length, advance(text.mid(i, length))});
        i += length;
    }
    return result;
}

QStringList breakLines(const QString& text, const std::vector<TextMeasure::Unit>& units,
                       double widthTwips, int points) {
    // Widths are compared at the reference size: the box is as much wider there as the
    // font is larger.
    const double width = widthTwips * TextMeasure::referencePoints / points;
    QStringList lines;
    std::size_t lineStart = 0;
    double lineWidth = 0;
    auto startAt = [&](std::size_t unit) {
        const qsizetype from = units[lineStart].start;
        lines.push_back(text.mid(from, units[unit].start - from));
        lineStart = unit;
        lineWidth = 0;
    };
    for (std::size_t i = 0; i < units.size(); ++i) {
        const QChar c = text[units[i].start];
        if (c == u'\n') {
            startAt(i);
            lineStart = i + 1;
            continue;
        }
        if (lineWidth + units[i].advance > width && i > lineStart && !isBlank(c)) {
            std::size_t breakAt = i;
            if (isWordCharacter(c)) {
                std::size_t wordStart = i;
                while (wordStart > lineStart && isWordCharacter(text[units[wordStart - 1].start])) {
                    --wordStart;
                }
                if (wordStart > lineStart) {
                    breakAt = wordStart;
                }
            } else if (closesLine(c) && i - 1 > lineStart) {
                breakAt = i - 1;
            }
            startAt(breakAt);
            for (std::size_t k = breakAt; k < i; ++k) {
                lineWidth += units[k].advance;
            }
        }
        lineWidth += units[i].advance;
    }
    if (lineStart < units.size()) {
        lines.push_back(text.mid(units[lineStart].start));
    } else {
        lines.push_back(QString());
    }
    return lines;
}
