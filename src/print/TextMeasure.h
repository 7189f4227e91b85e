#pragma once

#include <QFontMetricsF>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

// Measures the worksheet's text on paper, the same for the preview and the printer: the
// advance of each character in twips at a reference size, scaled linearly to any other
// size (the font is measured without hinting, so it scales exactly).
class TextMeasure {
public:
    static constexpr int referencePoints = 50;

    explicit TextMeasure(const QString& family);

    // One character (or surrogate pair) of a text with its advance at the reference size.
    struct Unit {
        qsizetype start = 0;
        qsizetype length = 1;
        double advance = 0; // twips at referencePoints
    };
    std::vector<Unit> units(QStringView text);

private:
    double advance(QStringView character);

    QFontMetricsF metrics_;
    QHash<QString, double> advances_;
};

// Breaks a text into the lines a text box of the given width (in twips, at the given
// point size) shows it in: a new line begins at the character that would run past the
// right edge; a word of Latin letters or digits moves whole to the next line, a closing
// mark such as "、" or "）" takes the character before it along rather than start a line,
// and blanks may hang past the edge. An empty text is one empty line.
QStringList breakLines(const QString& text, const std::vector<TextMeasure::Unit>& units,
                       double widthTwips, int points);
