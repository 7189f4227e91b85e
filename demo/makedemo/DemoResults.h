#pragma once

#include <QDate>
#include <QString>

// Writes "成績累積データ.dat" for the demo installation: a few hundred runs of the demo
// pupils (numbers 1..40 but 33, who has none) at levels 1..3 over the three weeks up to and
// including today, a few older than a month and than a year, pupils 2 and 3 sharing the
// best time of level 1 and a run timed out today, in the order they were made, so the
// screens and lists have real figures to show. The same demo
// is written every time. Replaces any results file in the folder; false with a reason
// when it cannot be written.
bool writeDemoResults(const QString& drillDataFolder, const QDate& today, QString* error,
                      const QString& schoolCode = QString());
