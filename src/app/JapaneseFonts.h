#pragma once

#include <QString>
#include <QStringList>

// The screens ask for the fonts of the classroom PCs. Where those are not installed,
// Qt is told to take installed Japanese fonts in their place: the fixed-pitch
// "ＭＳ ゴシック" by a fixed-pitch gothic whose full-width characters are exactly two
// half-width ones wide (the result lists line up their columns on that), the
// proportional "ＭＳ Ｐゴシック" by a proportional gothic.

inline const QString msGothic = QStringLiteral("ＭＳ ゴシック");
inline const QString msPGothic = QStringLiteral("ＭＳ Ｐゴシック");

// The installed families that stand in for family, best first.
QStringList japaneseSubstitutes(const QString& family);

// Registers the substitutes of each classroom font that is not installed. Call once
// after the application object exists; returns the families that were mapped.
QStringList mapJapaneseFonts();
