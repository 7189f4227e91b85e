#pragma once

#include <QColor>

// The background colour of the name list and the level menu, chosen by the month at
// start-up: orange in January and February, pale green from March to May and again in
// December, teal in summer, brown in autumn. Held as red in the lowest byte, then
// green, then blue.
unsigned seasonColorForMonth(int month);

unsigned colorLong(int red, int green, int blue);
QColor colorFromLong(unsigned color);
