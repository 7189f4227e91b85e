#pragma once

#include <QWidget>

// The run's time bar: a white track standing for the time limit, with the lowest passing
// time (light green), the target time (green) and the elapsed time (blue) drawn over it
// from its left end, back to front. Widths are in twips of the track.
class TimeBar : public QWidget {
    Q_OBJECT
public:
    TimeBar(int trackWidthTwips, QWidget* parent = nullptr);

    void setWidths(double minimumTwips, double targetTwips, double progressTwips);
    double minimumWidth() const { return minimum_; }
    double targetWidth() const { return target_; }
    double progressWidth() const { return progress_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int track_;
    double minimum_ = 0;
    double target_ = 0;
    double progress_ = 0;
};
