#pragma once

#include <QWidget>

// A red curved arrow stretched over its box: an arc that rises above the row (or dips
// below it) from one end of the box to the other, with its head at the left or right end.
class ArcArrow : public QWidget {
    Q_OBJECT
public:
    enum class Bulge { Up, Down };
    enum class Head { Left, Right };

    ArcArrow(Bulge bulge, Head head, QWidget* parent = nullptr);

    Bulge bulge() const { return bulge_; }
    Head head() const { return head_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Bulge bulge_;
    Head head_;
};
