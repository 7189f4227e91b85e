#pragma once

#include <QFont>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>
#include <vector>

// Screens are designed for 15360 x 11520 twips (1024 x 768 pixels at 15 twips a pixel).
// TwipsLayout keeps each child's place in twips and font in points, and re-applies them
// through one scale factor whenever the screen changes size.
class TwipsLayout {
public:
    static constexpr int designWidth = 15360;
    static constexpr int designHeight = 11520;

    explicit TwipsLayout(QWidget* screen);

    void place(QWidget* child, int left, int top, int width, int height);
    // A font of the given point size at the design resolution (96 dots an inch).
    void setFont(QWidget* child, const QString& family, double points, bool bold = false);

    // Pixels per twip times 15: 1.0 at 1024 x 768.
    double scale() const;
    int px(int twips) const;
    QRect rect(int left, int top, int width, int height) const;
    // Pixel size for a font of the given points at the current scale (kept even so that
    // full-width characters are exactly two half-width ones in fixed-pitch fonts).
    int fontPixels(double points) const;
    QFont font(const QString& family, double points, bool bold = false) const;

    // Re-applies every place and font; call from the screen's resizeEvent.
    void apply();

private:
    struct Placed {
        QPointer<QWidget> widget;
        QRect twips;
    };
    struct Fonted {
        QPointer<QWidget> widget;
        QString family;
        double points;
        bool bold;
    };
    QWidget* screen_;
    std::vector<Placed> placed_;
    std::vector<Fonted> fonted_;
};
