#pragma once

#include <QByteArray>
#include <QString>

// The small text files of a school installation as the school's PCs write them (CP932 and
// CR LF are applied on writing): what a new school starts with, and what the demo builds
// its sample school on.

// Writes a text file in CP932, creating its folder; false with a description naming the
// file or folder.
bool writeSchoolTextFile(const QString& path, const QString& text, QString* error);
bool writeSchoolBinaryFile(const QString& path, const QByteArray& bytes, QString* error);

// パスデータ.txt: ten items, item 1 the data root with its trailing separator, the
// others empty or zero as schools leave them.
QString pathFileText(const QString& dataRoot);

// The items of 共通データ.txt a school chooses.
struct SchoolSettings {
    int schoolYearStartMonth = 4;
    QString schoolCode; // five digits, or empty
    QString schoolName;
    QString keyFolder; // without a trailing separator, as a teacher types it
};

// 共通データ.txt: start month, school code and name, show-status-2 (off), item 4, the key
// folder, items 6 to 10; one item a line, texts quoted and numbers bare, as the teacher
// panel rewrites it.
QString sharedConfigText(const SchoolSettings& settings);

// タイム回数データ.txt with the header and the starting criteria of levels 1..levels:
// levels 1 to 3 (the problem forms the drill makes) with times a practised pupil reaches,
// later levels with easy times and no clear requirement.
QString defaultCriteriaText(int levels);

// The content of keypass.txt: only its existence is tested; the text is for whoever finds it.
QString keyFileText();

// One line of "新名簿.txt": eight values, texts quoted and numbers bare.
struct RosterLine {
    int pupilNo = 0;
    int birthYear = 0;
    int reservedNo1 = 0;
    int reservedNo2 = 0;
    QString name;
    int status = 0; // 0 listed, 2 listed only with the show-status-2 flag, others not listed
    QString reservedText1;
    QString reservedText2;
};

// The line as the school's PCs write it, ended by CR LF.
QString rosterLineText(const RosterLine& line);

// The teacher's entry "先生", the one line of a new school's roster.
RosterLine teacherRosterLine();
