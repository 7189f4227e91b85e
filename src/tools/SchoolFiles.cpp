#include "tools/SchoolFiles.h"

#include "records/CriteriaFile.h"
#include "text/ItemWriter.h"
#include "text/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <array>

namespace {

bool makeFolderFor(const QString& path, QString* error) {
    const QString dir = QFileInfo(path).absolutePath();
    if (QDir().mkpath(dir)) {
        return true;
    }
    *error = QStringLiteral("フォルダ「%1」を作れません。").arg(dir);
    return false;
}

} // namespace

bool writeSchoolTextFile(const QString& path, const QString& text, QString* error) {
    return makeFolderFor(path, error) && writeCp932FileAtomic(path, text, error);
}

bool writeSchoolBinaryFile(const QString& path, const QByteArray& bytes, QString* error) {
    if (!makeFolderFor(path, error)) {
        return false;
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
        file.write(bytes) == bytes.size() && file.flush()) {
        return true;
    }
    *error = QStringLiteral("ファイル「%1」に書けません: %2").arg(path, file.errorString());
    return false;
}

QString pathFileText(const QString& dataRoot) {
    ItemWriter out;
    out.text(dataRoot);
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

QString sharedConfigText(const SchoolSettings& settings) {
    ItemWriter out;
    out.number(settings.schoolYearStartMonth);
    out.endLine();
    out.text(settings.schoolCode + settings.schoolName);
    out.endLine();
    out.number(0); // status-2 pupils are not listed
    out.endLine();
    out.number(1); // item 4 has no effect
    out.endLine();
    out.text(settings.keyFolder);
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

QString defaultCriteriaText(int levels) {
    // Ten right answers at level 1 take a practised pupil about a minute; the later forms
    // ask for more thought. Levels beyond the problem forms are never offered.
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
    out.bare(criteriaHeaderLine());
    out.endLine();
    for (int level = 1; level <= levels; ++level) {
        const Row& row = level <= 3 ? playable[static_cast<std::size_t>(level - 1)] : unplayed;
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

QString keyFileText() {
    return QStringLiteral("ミルネア　先生用の鍵\r\n");
}

QString rosterLineText(const RosterLine& line) {
    ItemWriter out;
    out.number(line.pupilNo);
    out.number(line.birthYear);
    out.number(line.reservedNo1);
    out.number(line.reservedNo2);
    out.text(line.name);
    out.number(line.status);
    out.text(line.reservedText1);
    out.text(line.reservedText2);
    out.endLine();
    return out.result();
}

RosterLine teacherRosterLine() {
    RosterLine teacher;
    teacher.pupilNo = 4999;
    teacher.birthYear = 1980;
    teacher.name = QStringLiteral("先生");
    return teacher;
}
