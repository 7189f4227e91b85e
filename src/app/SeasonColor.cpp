#include "app/SeasonColor.h"

unsigned colorLong(int red, int green, int blue) {
    return static_cast<unsigned>(red & 0xFF) | static_cast<unsigned>(green & 0xFF) << 8 |
           static_cast<unsigned>(blue & 0xFF) << 16;
}

QColor colorFromLong(unsigned color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>(color >> 8 & 0xFF),
                  static_cast<int>(color >> 16 & 0xFF));
}

unsigned seasonColorForMonth(int month) {
    switch (month) {
    case 1:
    case 2:
        return colorLong(255, 128, 0);
    case 6:
    case 7:
    case 8:
        return colorLong(0, 192, 192);
    case 9:
    case 10:
    case 11:
        return colorLong(192, 64, 0);
    default: // 3, 4, 5 and 12
        return colorLong(192, 255, 192);
    }
}
