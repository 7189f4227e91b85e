// The equal-ratio generator: what it draws, in which order, and the hint it gives.
#include "drill/Problem.h"

#include <QtTest>
#include <deque>
#include <map>
#include <random>

namespace {

// A source that hands out scripted values and counts how many were taken.
struct Script {
    std::deque<double> values;
    int taken = 0;
    UniformSource source() {
        return [this] {
            ++taken;
            const double v = values.front();
            values.pop_front();
            return v;
        };
    }
};

UniformSource seeded(std::mt19937& engine) {
    return [&engine] { return std::uniform_real_distribution<double>(0.0, 1.0)(engine); };
}

} // namespace

class ProblemTest : public QObject {
    Q_OBJECT
private slots:
    void drawnNumbersStayInRangeAndReachEveryValue_data();
    void drawnNumbersStayInRangeAndReachEveryValue();
    void numbersAreDrawnInTheirFixedOrder();
    void modeTableOfTheThreeLevels();
    void termBoxesHoldEqualRatiosInTheModesOrder();
    void hintTextAndArrowsForEveryModeAndBlank_data();
    void hintTextAndArrowsForEveryModeAndBlank();
    void hintDelayThresholds_data();
    void hintDelayThresholds();
};

void ProblemTest::drawnNumbersStayInRangeAndReachEveryValue_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("mode 1") << 1;
    QTest::newRow("mode 2") << 2;
}

void ProblemTest::drawnNumbersStayInRangeAndReachEveryValue() {
    QFETCH(int, mode);
    std::mt19937 engine(20261209);
    const UniformSource uniform = seeded(engine);
    const int draws = 40000;
    std::map<int, int> big, small, factor, blank;
    for (int i = 0; i < draws; ++i) {
        const Problem p = drawProblem(mode, uniform);
        QCOMPARE(p.problemMode, mode);
        QVERIFY2(p.smallTerm >= 1 && p.smallTerm < p.bigTerm,
                 qPrintable(QStringLiteral("B=%1 A=%2").arg(p.smallTerm).arg(p.bigTerm)));
        const std::array<int, 5> t = termValues(p);
        for (int box = 1; box <= 4; ++box) {
            QVERIFY(t[box] >= 1 && t[box] <= 81);
        }
        ++big[p.bigTerm];
        ++small[p.smallTerm];
        ++factor[p.multiplier];
        ++blank[p.blankIndex];
    }
    // Every value is reached, and nothing outside the ranges.
    QCOMPARE(big.size(), size_t(8));
    QCOMPARE(big.begin()->first, 2);
    QCOMPARE(big.rbegin()->first, 9);
    QCOMPARE(small.size(), size_t(8));
    QCOMPARE(small.rbegin()->first, 8);
    QCOMPARE(factor.size(), size_t(8));
    QCOMPARE(factor.begin()->first, 2);
    QCOMPARE(factor.rbegin()->first, 9);
    QCOMPARE(blank.size(), size_t(4));
    QCOMPARE(blank.begin()->first, 1);
    QCOMPARE(blank.rbegin()->first, 4);
    // A, K and the blank are spread evenly (within 10 % of an even share).
    for (const auto* counts : {&big, &factor, &blank}) {
        const double share = double(draws) / counts->size();
        for (const auto& [value, count] : *counts) {
            QVERIFY2(std::abs(count - share) < 0.1 * share,
                     qPrintable(QStringLiteral("value %1 drawn %2 times").arg(value).arg(count)));
        }
    }
    // B is even within each A: with A = 9, each of 1..8 about an eighth of the time.
    QVERIFY(small[8] > 0.5 * big[9] / 8);
}

void ProblemTest::numbersAreDrawnInTheirFixedOrder() {
    // A from the first value, B from the second (scaled by A - 1), then K, then the blank.
    Script s{{0.5, 0.5, 0.9, 0.3}};
    const Problem p = drawProblem(1, s.source());
    QCOMPARE(s.taken, 4);
    QCOMPARE(p.bigTerm, 6);    // 8 * 0.5 + 2
    QCOMPARE(p.smallTerm, 3);  // 5 * 0.5 + 1 = 3.5
    QCOMPARE(p.multiplier, 9); // 8 * 0.9 + 2 = 9.2
    QCOMPARE(p.blankIndex, 2); // 4 * 0.3 + 1 = 2.2
}

void ProblemTest::modeTableOfTheThreeLevels() {
    Script none{{}};
    QCOMPARE(problemModeFor(1, none.source()), 1);
    QCOMPARE(problemModeFor(2, none.source()), 2);
    QCOMPARE(none.taken, 0); // levels 1 and 2 draw nothing for the mode

    Script s{{0.0, 0.4999, 0.5, 0.9999}};
    QCOMPARE(problemModeFor(3, s.source()), 1);
    QCOMPARE(problemModeFor(3, s.source()), 1);
    QCOMPARE(problemModeFor(3, s.source()), 2);
    QCOMPARE(problemModeFor(3, s.source()), 2);
    QCOMPARE(s.taken, 4);

    QVERIFY(levelHasProblemForm(1) && levelHasProblemForm(3));
    QVERIFY(!levelHasProblemForm(0) && !levelHasProblemForm(4));
}

void ProblemTest::termBoxesHoldEqualRatiosInTheModesOrder() {
    Problem p{7, 3, 4, 1, 1}; // A = 7, B = 3, K = 4
    // Mode 1 reads B : A = K*B : K*A, so boxes 2, 1, 4, 3 read 3 : 7 = 12 : 28.
    QCOMPARE(termValues(p), (std::array<int, 5>{0, 7, 3, 28, 12}));
    p.problemMode = 2; // K*B : K*A = B : A
    QCOMPARE(termValues(p), (std::array<int, 5>{0, 28, 12, 7, 3}));
}

void ProblemTest::hintTextAndArrowsForEveryModeAndBlank_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("blank");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("right");
    // Mode 1: the right ratio is K times the left one; mode 2 the other way round.
    QTest::newRow("mode 1, blank 1") << 1 << 1 << QStringLiteral("÷6") << false;
    QTest::newRow("mode 1, blank 2") << 1 << 2 << QStringLiteral("÷6") << false;
    QTest::newRow("mode 1, blank 3") << 1 << 3 << QStringLiteral("6倍") << true;
    QTest::newRow("mode 1, blank 4") << 1 << 4 << QStringLiteral("6倍") << true;
    QTest::newRow("mode 2, blank 1") << 2 << 1 << QStringLiteral("6倍") << false;
    QTest::newRow("mode 2, blank 2") << 2 << 2 << QStringLiteral("6倍") << false;
    QTest::newRow("mode 2, blank 3") << 2 << 3 << QStringLiteral("÷6") << true;
    QTest::newRow("mode 2, blank 4") << 2 << 4 << QStringLiteral("÷6") << true;
}

void ProblemTest::hintTextAndArrowsForEveryModeAndBlank() {
    QFETCH(int, mode);
    QFETCH(int, blank);
    QFETCH(QString, text);
    QFETCH(bool, right);
    const Problem p{5, 2, 6, blank, mode};
    QCOMPARE(hintText(p), text);
    QCOMPARE(hintPointsRight(p), right);
}

void ProblemTest::hintDelayThresholds_data() {
    QTest::addColumn<int>("correct");
    QTest::addColumn<int>("perRun");
    QTest::addColumn<int>("delay");
    // Ten problems: thresholds 1, 2 and 5.
    QTest::newRow("first problem") << 0 << 10 << 6000;
    QTest::newRow("1 of 10") << 1 << 10 << 8000;
    QTest::newRow("2 of 10") << 2 << 10 << 10000;
    QTest::newRow("4 of 10") << 4 << 10 << 10000;
    QTest::newRow("5 of 10 waits 12 s") << 5 << 10 << 12000;
    QTest::newRow("9 of 10") << 9 << 10 << 12000;
    // Thresholds rounded halves to even: 5 problems give 0, 1 and 2 (0.5 rounds to 0).
    QTest::newRow("0 of 5") << 0 << 5 << 8000;
    QTest::newRow("1 of 5") << 1 << 5 << 10000;
    QTest::newRow("2 of 5") << 2 << 5 << 12000;
    // 25 problems: 2.5 rounds to 2, 5, 12.5 rounds to 12.
    QTest::newRow("2 of 25") << 2 << 25 << 8000;
    QTest::newRow("11 of 25") << 11 << 25 << 10000;
    QTest::newRow("12 of 25") << 12 << 25 << 12000;
}

void ProblemTest::hintDelayThresholds() {
    QFETCH(int, correct);
    QFETCH(int, perRun);
    QFETCH(int, delay);
    QCOMPARE(hintDelayMs(correct, perRun), delay);
}

QTEST_GUILESS_MAIN(ProblemTest)
#include "test_problem.moc"
