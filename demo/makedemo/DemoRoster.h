#pragma once

#include <QDate>
#include <QString>
#include <vector>

struct DemoInstallation;

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

// The school year of a day: its calendar year, one less before the start month.
int schoolYearOn(const QDate& day, int startMonth);

// About forty pupils from kindergarten to senior high for the given school year, some
// who have left (status 1) or are on leave (status 2), and the teacher's entry "先生".
std::vector<RosterLine> demoRoster(int schoolYear);

bool writeDemoRoster(const DemoInstallation& demo, QString* error);
