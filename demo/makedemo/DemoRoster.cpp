#include "makedemo/DemoRoster.h"

#include "makedemo/DemoInstallation.h"

#include <array>

int schoolYearOn(const QDate& day, int startMonth) {
    return day.month() < startMonth ? day.year() - 1 : day.year();
}

std::vector<RosterLine> demoRoster(int schoolYear) {
    // Grade index: 0 and below kindergarten, 1..6 elementary, 7..9 junior high,
    // 10..12 senior high. The birth year follows from the school year.
    struct Pupil {
        int grade;
        const char16_t* name;
        int status;
    };
    constexpr std::array<Pupil, 40> pupils{{
        {0, u"青木　ひまり", 0},   {0, u"石川　そうた", 0},     {-1, u"上田　ゆい", 0},
        {1, u"遠藤　はると", 0},   {1, u"大野　めい", 0},       {1, u"加藤　れん", 2},
        {2, u"木村　さくら", 0},   {2, u"工藤　ゆうと", 0},     {2, u"小林　あおい", 0},
        {2, u"長谷川　みなと", 0}, {3, u"斉藤　みお", 0},       {3, u"佐藤　たくみ", 0},
        {3, u"鈴木　りこ", 1},     {3, u"清水　つばさ", 0},     {4, u"髙橋　一郎", 0},
        {4, u"田中　ひなた", 0},   {4, u"勅使河原　みのり", 0}, {5, u"中村　ゆうき", 0},
        {5, u"西田　かえで", 0},   {5, u"野口　そら", 2},       {5, u"高木　いろは", 0},
        {6, u"橋本　あかり", 0},   {6, u"林　けんた", 0},       {6, u"藤井　ことね", 0},
        {7, u"松本　だいき", 0},   {7, u"三浦　ほのか", 0},     {7, u"村上　しょう", 1},
        {8, u"森　ゆな", 0},       {8, u"山口　こうき", 0},     {8, u"山田　はな", 0},
        {8, u"福田　ななみ", 0},   {9, u"吉田　りく", 0},       {9, u"渡辺　ちひろ", 0},
        {9, u"﨑山　次郎", 0},     {10, u"安藤　まなみ", 0},    {10, u"井上　しゅん", 0},
        {11, u"岡田　みずき", 0},  {11, u"菊地　ゆうま", 2},    {12, u"近藤　あやね", 0},
        {12, u"坂本　けい", 1},
    }};
    std::vector<RosterLine> lines;
    int number = 1;
    for (const Pupil& pupil : pupils) {
        RosterLine line;
        line.pupilNo = number++;
        line.birthYear = schoolYear - 6 - pupil.grade;
        line.name = QString::fromUtf16(pupil.name);
        line.status = pupil.status;
        lines.push_back(line);
    }
    lines.push_back(teacherRosterLine());
    return lines;
}

bool writeDemoRoster(const DemoInstallation& demo, QString* error) {
    QString text;
    for (const RosterLine& line : demoRoster(schoolYearOn(demo.today, demo.schoolYearStartMonth))) {
        text += rosterLineText(line);
    }
    return writeSchoolTextFile(demo.dataRoot + QStringLiteral("新名簿.txt"), text, error);
}
