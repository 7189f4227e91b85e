#pragma once

#include <QString>
#include <array>
#include <functional>

// One equal-ratio problem: two ratios that are equal, one of the four terms blank.
// Term boxes 1..4 hold A, B, K*A, K*B (mode 1, small to big) or K*A, K*B, A, B (mode 2,
// big to small); the screen shows them in the order 2 : 1 = 4 : 3.
struct Problem {
    int bigTerm = 0;     // A, 2..9
    int smallTerm = 0;   // B, 1..A-1
    int multiplier = 0;  // K, 2..9
    int blankIndex = 0;  // 1..4, the term box the pupil fills in
    int problemMode = 0; // 1 or 2
};

// The one uniform source over [0, 1) the whole program draws from.
using UniformSource = std::function<double()>;

// Whole part of a non-negative value drawn from [0, 1) scaled as the drill scales it.
int wholePart(double value);
// Rounds to the nearest whole number, halves to the even one.
long long roundHalfEven(double value);

// The mode of a level: 1 for level 1, 2 for level 2, and for level 3 a fresh draw of 1
// or 2 with equal chance (the only draw that happens before the numbers). 0 for a level
// that has no problem form.
int problemModeFor(int levelNo, const UniformSource& uniform);
bool levelHasProblemForm(int levelNo);

// Draws the four numbers in their fixed order (A, B, K, blank) for the given mode.
Problem drawProblem(int problemMode, const UniformSource& uniform);

// The values of term boxes 1..4 (index 0 unused).
std::array<int, 5> termValues(const Problem& problem);

// The hint's text: K followed by "倍" when the blank lies in the ratio that is K times
// the other, "÷" followed by K when it lies in the smaller ratio.
QString hintText(const Problem& problem);
// True when the hint's arrows point right, from the left ratio to the right one.
bool hintPointsRight(const Problem& problem);

// How long a pupil may think before the hint appears: the further into the run, the
// longer the wait.
int hintDelayMs(int correctCount, int problemsPerRun);
