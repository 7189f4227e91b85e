#pragma once

#include <QFont>
#include <QLabel>
#include <QSize>

// A label for a text the school chooses (its name, a pupil's name) that may be longer
// than its box: it is drawn smaller, down to three fifths of the label's font; below that
// it would no longer be read at a glance, so a text longer still shows its beginning at
// that size rather than its middle.
class FitLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

    struct Fitted {
        QFont font;
        bool fits = true; // the whole text is inside the box
    };
    // How the text is drawn at the label's present size.
    Fitted shown() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The font, made smaller if need be, in which text fits a box of the size.
FitLabel::Fitted fitText(const QFont& font, const QString& text, const QSize& box);
