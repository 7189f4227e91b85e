#pragma once

#include <QString>
#include <array>
#include <vector>

struct DemoInstallation;

// One proverb of the demo's worksheet table, split into the three parts the worksheet
// prints in its columns and blanks.
struct DemoProverb {
    int level = 0;
    std::array<const char16_t*, 3> parts{};
};

// Well-known proverbs in eight levels of six.
std::vector<DemoProverb> demoProverbs();

// The table "プロト.csv": nine values a line (the level, the three parts, three empty
// texts and two zeros), texts quoted, numbers bare.
QString demoWorksheetText();

// Writes the table into the program folder, in CP932 with CR LF.
bool writeDemoWorksheet(const DemoInstallation& demo, QString* error);
