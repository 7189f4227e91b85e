#pragma once

#include "text/ValueVerdict.h"

#include <QString>
#include <QStringList>

struct AppState;

// The two files every start reads before anything else: the path file beside the
// program folders and the shared configuration file of the data root. Both are ten
// comma- or line-separated items in CP932; both must exist and hold all ten items.

inline constexpr int pathFileItems = 10;
inline constexpr int sharedConfigItems = 10;

struct LeadingItems {
    bool ok = false;
    QStringList items; // the first count items when ok
    QString error;     // names the file and what is wrong when not ok
};

// Reads the first count items of a CP932 item file.
LeadingItems readLeadingItems(const QString& path, int count);

// Reads item 1 of the path file into layout.dataRoot, exactly as stored. Any failure is
// reported through fatalError (false): no default folder is put in its place.
bool readPathFile(AppState& state, const QString& path);

// Reads the shared configuration file of the data root into state.config. Any failure
// is reported through fatalError (false).
bool readSharedConfig(AppState& state, const QString& path);

// Item 2 of the configuration file: a school name, optionally led by a five-character
// school code. When the lenient numeric value of the first five characters is not 0
// they are the code and the rest is the name; otherwise the whole item is the name
// ("00000東校" stays whole) and the code is empty.
struct SchoolItem {
    QString code;
    QString name;
};
SchoolItem splitSchoolItem(const QString& item);

// Item 1 of the configuration file: the month the school year starts. Read the lenient
// way, it must be a whole month from 1 to 12; anything else would shift every pupil's
// grade without a word. month receives the month when the verdict is usable.
ValueVerdict checkStartMonth(const QString& item, int* month = nullptr);
