#include "drill/Problem.h"

#include <cmath>

int wholePart(double value) {
    return static_cast<int>(std::floor(value));
}

long long roundHalfEven(double value) {
    // nearbyint rounds in the default mode, which is to nearest with ties to even.
    return static_cast<long long>(std::nearbyint(value));
}

bool levelHasProblemForm(int levelNo) {
    return levelNo >= 1 && levelNo <= 3;
}

int problemModeFor(int levelNo, const UniformSource& uniform) {
    switch (levelNo) {
    case 1:
        return 1;
    case 2:
        return 2;
    case 3:
        return wholePart(2 * uniform() + 1);
    default:
        return 0;
    }
}

Problem drawProblem(int problemMode, const UniformSource& uniform) {
    Problem p;
    p.problemMode = problemMode;
    p.bigTerm = wholePart(8 * uniform() + 2);
    p.smallTerm = wholePart((p.bigTerm - 1) * uniform() + 1);
    p.multiplier = wholePart(8 * uniform() + 2);
    p.blankIndex = wholePart(4 * uniform() + 1);
    return p;
}

std::array<int, 5> termValues(const Problem& p) {
    const int a = p.bigTerm;
    const int b = p.smallTerm;
    const int k = p.multiplier;
    if (p.problemMode == 2) {
        return {0, k * a, k * b, a, b};
    }
    return {0, a, b, k * a, k * b};
}

namespace {
// The blank lies in the ratio that is K times the other one.
bool blankInLargerRatio(const Problem& p) {
    const bool blankOnRight = p.blankIndex == 3 || p.blankIndex == 4;
    return p.problemMode == 2 ? !blankOnRight : blankOnRight;
}
} // namespace

QString hintText(const Problem& p) {
    const QString k = QString::number(p.multiplier);
    return blankInLargerRatio(p) ? k + QStringLiteral("倍") : QStringLiteral("÷") + k;
}

bool hintPointsRight(const Problem& p) {
    return p.blankIndex == 3 || p.blankIndex == 4;
}

int hintDelayMs(int correctCount, int problemsPerRun) {
    if (correctCount < roundHalfEven(0.1 * problemsPerRun)) {
        return 6000;
    }
    if (correctCount < roundHalfEven(0.2 * problemsPerRun)) {
        return 8000;
    }
    if (correctCount < roundHalfEven(0.5 * problemsPerRun)) {
        return 10000;
    }
    return 12000;
}
