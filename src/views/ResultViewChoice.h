#pragma once

#include <QString>
#include <array>

// What the level menu's result-view options build, decided from the view state alone, so
// that the choice can be read and tried without a window. The screen then runs the build
// and shows it (seisekitime1::Option1_Click, Option2_Click).
enum class ResultBuild {
    Nothing,       // the options change no list
    BestTimes,     // Command6: the rankings by best time
    TodayRuns,     // Command5: today's runs
    PeriodRuns,    // Command7: every run of the period Combo2 names
    PointsAllTime, // the rankings by all-time points (pointsPeriod 1)
    PointsToday,   // the rankings by today's points (pointsPeriod 2)
    PersonalTimes, // Command16: the pupil's own times
};

// Option1(index), index 1 best, 2 today, 3 (or any other) all, under displayKind (1 times,
// 2 points; 0 is read as 1).
ResultBuild runsChoice(int displayKind, int index);

// What a click on Option2(index) (0 times, 1 points, 2 the pupil's own times) does.
struct DisplayChoice {
    int displayKind = 0;                    // the display kind from now on
    std::array<QString, 3> option1Captions; // Option1(1..3); empty keeps the caption
    std::array<bool, 3> enablesOption1{};   // Option1(1..3) enabled by the click
    bool hidesPeriodBox = false;            // Combo2
    bool showsGraphButton = false;          // Command17
    int option1Clicked = 0;                 // the Option1 clicked next (its build follows); 0: none
    ResultBuild build = ResultBuild::Nothing; // the list built in the end
};

// option1Checked: which of Option1(1..3) is selected.
DisplayChoice displayChoice(int index, int displayKind, const std::array<bool, 3>& option1Checked);
