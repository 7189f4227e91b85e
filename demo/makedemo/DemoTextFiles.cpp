#include "makedemo/DemoTextFiles.h"

#include "app/LayoutResolution.h"
#include "makedemo/DemoInstallation.h"
#include "text/ItemWriter.h"

#include <QDir>
#include <array>

QString demoPathFileText(const DemoInstallation& demo) {
    ItemWriter out;
    out.text(demo.dataRoot);
    out.endLine();
    // Items 2 to 10 are read and not used; schools leave them empty or zero.
    for (int item = 2; item <= 10; ++item) {
        if (item % 2 == 0) {
            out.text(QString());
        } else {
            out.number(0);
        }
        out.endLine();
    }
    return out.result();
}

QString demoSharedConfigText(const DemoInstallation& demo) {
    // One item a line, texts quoted and numbers bare, as the teacher panel rewrites it.
    ItemWriter out;
    out.number(demo.schoolYearStartMonth);
    out.endLine();
    out.text(demo.schoolItem);
    out.endLine();
    out.number(0); // status-2 pupils are not listed
    out.endLine();
    out.number(1); // item 4 has no effect
    out.endLine();
    out.text(demo.keyFolder);
    out.endLine();
    out.number(0);
    out.endLine();
    out.number(0);
    out.endLine();
    out.text(QString());
    out.endLine();
    out.text(QString());
    out.endLine();
    out.number(0);
    out.endLine();
    return out.result();
}

QString demoCriteriaText() {
    // Ten right answers at level 1 take a practised pupil about a minute; the later forms
    // ask for more thought. Levels 4 to 24 have no problem form and are never offered.
    struct Row {
        int target, minimum, clearPoints, clearCount;
        double factor;
        int overuseRuns, overusePoints, judgeDays, overuseDays;
    };
    constexpr std::array<Row, 3> playable{{
        {60, 90, 25, 5, 1.0, 30, 0, 7, 1},
        {75, 110, 25, 5, 1.2, 30, 0, 7, 1},
        {90, 135, 25, 5, 1.5, 30, 0, 7, 1},
    }};
    constexpr Row unplayed{120, 180, 9999, 5, 1.0, 0, 0, 7, 1};

    ItemWriter out;
    out.bare(criteriaHeader);
    out.endLine();
    for (int level = 1; level <= 24; ++level) {
        const Row& row = level <= 3 ? playable[level - 1] : unplayed;
        for (double value :
             {double(row.target), double(row.minimum), double(row.clearPoints),
              double(row.clearCount), row.factor, double(row.overuseRuns),
              double(row.overusePoints), double(row.judgeDays), double(row.overuseDays)}) {
            out.number(value);
        }
        for (int spare = 0; spare < 3; ++spare) {
            out.bare(QString());
        }
        out.endLine();
    }
    return out.result();
}

bool writeDemoPathFile(const DemoInstallation& demo, QString* error) {
    return writeDemoTextFile(demo.parentFolder + pathFileName, demoPathFileText(demo), error);
}

bool writeDemoSharedConfig(const DemoInstallation& demo, QString* error) {
    return writeDemoTextFile(sharedConfigFileOf(demo.dataRoot), demoSharedConfigText(demo), error);
}

bool writeDemoKeyFolder(const DemoInstallation& demo, QString* error) {
    // Only the key file's existence is tested; its content is for the person who finds it.
    return writeDemoTextFile(demo.keyFolder + QDir::separator() + QStringLiteral("keypass.txt"),
                             QStringLiteral("ミルネア　先生用の鍵\r\n"), error);
}

bool writeDemoCriteria(const DemoInstallation& demo, QString* error) {
    return writeDemoTextFile(demo.drillDataFolder + QStringLiteral("タイム回数データ.txt"),
                             demoCriteriaText(), error);
}
