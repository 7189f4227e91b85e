// The drill screen's problem area and the keyboard: what the pupil sees of a problem and
// its hint, and how typed answers are edited and judged.
#include "DrillFixture.h"

#include <QtTest>

namespace {
const QColor lightGreen(128, 255, 128);
const QColor lightOrange(255, 224, 192);

// The colour of the screen just inside the top-left corner of a control.
QColor insideCorner(const DrillFixture& f, const QString& name) {
    const QWidget* w = f.find(name);
    const QImage image = f.frm()->grab().toImage();
    return image.pixelColor(w->geometry().topLeft() + QPoint(4, 4));
}
} // namespace

class MainFrmTest : public QObject {
    Q_OBJECT
private slots:
    void firstProblemShowsTheTermsInTheirRowWithTheBlankInGreen();
    void levelTwoShowsTheBigRatioFirst();
    void levelThreeDrawsItsModeBeforeTheNumbers();
    void hintAppearsAfterItsDelayWithArrowsTowardsTheBlank();
    void hintWaitsLongerAsTheRunGoesOn();
    void problemAreaIsLaidOutInTwipsThroughTheScale();
    void rightAnswerPlaysTheCueBeforeTheNextProblem();
    void typedAnswersAreJudgedAsLenientNumbers_data();
    void typedAnswersAreJudgedAsLenientNumbers();
    void fourthCharacterIsRefusedWhileEditingKeysStillWork();
    void onlyTheDrillsCharactersAreTyped();
    void wrongAnswerShowsTheAnswerAndNeedsTwoPlusesInARow();
    void wrongAnswersLowerTheCountButNeverBelowZero();
    void keysDuringJudgingAreIgnored();
    void grabsOfTheHintAndOfAWrongAnswer();
};

void MainFrmTest::firstProblemShowsTheTermsInTheirRowWithTheBlankInGreen() {
    DrillFixture f;
    f.env.randomValues = DrillFixture::draws(7, 3, 4, 1); // level 1: 3 : _ = 12 : 28
    f.start();
    QVERIFY(f.frm());
    QCOMPARE(f.text("Label5"), QStringLiteral("ミルネアにしなさい"));
    QCOMPARE(f.box(2), QStringLiteral("3"));
    QCOMPARE(f.box(1), QString());
    QCOMPARE(f.box(4), QStringLiteral("12"));
    QCOMPARE(f.box(3), QStringLiteral("28"));
    // Left to right the row reads box 2 : box 1 = box 4 : box 3.
    const auto x = [&](int n) { return f.find(QStringLiteral("lblBunsuu(%1)").arg(n))->x(); };
    QVERIFY(x(2) < f.find("label9")->x() && f.find("label9")->x() < x(1));
    QVERIFY(x(1) < f.find("Label2")->x() && f.find("Label2")->x() < x(4));
    QVERIFY(x(4) < f.find("Label6")->x() && f.find("Label6")->x() < x(3));
    QCOMPARE(f.text("Label2"), QStringLiteral("="));
    // Only the blank box is light green; the others show the screen's orange through.
    QCOMPARE(insideCorner(f, "lblBunsuu(1)"), lightGreen);
    for (int n : {2, 3, 4}) {
        QCOMPARE(insideCorner(f, QStringLiteral("lblBunsuu(%1)").arg(n)), lightOrange);
    }
    // The answer boxes hold every term's value, hidden under their terms.
    for (int n = 5; n <= 8; ++n) {
        QVERIFY(!f.shown(QStringLiteral("lblBunsuu(%1)").arg(n)));
    }
    QCOMPARE(f.box(5), QStringLiteral("7"));
    QCOMPARE(f.box(6), QStringLiteral("3"));
    QCOMPARE(f.box(7), QStringLiteral("28"));
    QCOMPARE(f.box(8), QStringLiteral("12"));
    QCOMPARE(f.find("lblBunsuu(6)")->x(), f.find("lblBunsuu(2)")->x());
    QVERIFY(f.find("lblBunsuu(5)")->y() > f.find("lblBunsuu(1)")->y());
    // Nothing of the hint yet, and ten answers to go.
    for (const char* name : {"Label1(0)", "Label1(1)", "Image1(0)", "Image1(1)", "Image2(0)",
                             "Image2(1)", "Commandkakunin2"}) {
        QVERIFY2(!f.shown(QString::fromLatin1(name)), name);
    }
    QCOMPARE(f.text("sLabel9"), QStringLiteral("10"));
}

void MainFrmTest::levelTwoShowsTheBigRatioFirst() {
    DrillFixture f;
    f.state.run.levelNo = 2;
    f.env.randomValues = DrillFixture::draws(7, 3, 4, 4); // K*B : K*A = _ : A
    f.start();
    QCOMPARE(f.box(2), QStringLiteral("12"));
    QCOMPARE(f.box(1), QStringLiteral("28"));
    QCOMPARE(f.box(4), QString());
    QCOMPARE(f.box(3), QStringLiteral("7"));
    QCOMPARE(insideCorner(f, "lblBunsuu(4)"), lightGreen);
    QCOMPARE(insideCorner(f, "lblBunsuu(1)"), lightOrange);
    QCOMPARE(f.box(8), QStringLiteral("3"));
}

void MainFrmTest::levelThreeDrawsItsModeBeforeTheNumbers() {
    DrillFixture f;
    f.state.run.levelNo = 3;
    f.env.randomValues = DrillFixture::draws(5, 2, 3, 3, 2); // mode 2: 6 : 15 = 2 : _
    f.start();
    QCOMPARE(f.problem().problemMode, 2);
    QCOMPARE(f.box(2), QStringLiteral("6"));
    QCOMPARE(f.box(1), QStringLiteral("15"));
    QCOMPARE(f.box(4), QStringLiteral("2"));
    QCOMPARE(f.box(3), QString());
    QVERIFY(f.env.randomValues.empty()); // one draw for the mode, four for the numbers
}

void MainFrmTest::hintAppearsAfterItsDelayWithArrowsTowardsTheBlank() {
    struct Case {
        int level;
        int blank;
        const char* hint;
        bool right;
    };
    // Level 1 with the blank second from the left divides, pointing left; level 2 with the
    // blank third from the left divides, pointing right (every mode and blank: test_problem).
    const Case cases[] = {{1, 1, "÷4", false}, {2, 4, "÷4", true}};
    for (const Case& c : cases) {
        DrillFixture f;
        f.state.run.levelNo = c.level;
        f.env.randomValues = DrillFixture::draws(7, 3, 4, c.blank);
        f.start();
        f.env.advance(5999);
        QVERIFY(!f.shown("Label1(0)"));
        f.env.advance(1);
        const QString why = QStringLiteral("level %1 blank %2").arg(c.level).arg(c.blank);
        QVERIFY2(f.shown("Label1(0)") && f.shown("Label1(1)"), qPrintable(why));
        QCOMPARE(f.text("Label1(0)"), QString::fromUtf8(c.hint));
        QCOMPARE(f.text("Label1(1)"), QString::fromUtf8(c.hint));
        QCOMPARE(f.shown("Image1(0)"), c.right);
        QCOMPARE(f.shown("Image2(0)"), c.right);
        QCOMPARE(f.shown("Image1(1)"), !c.right);
        QCOMPARE(f.shown("Image2(1)"), !c.right);
        // The hint stays until the next problem.
        f.env.advance(20000);
        QVERIFY(f.shown("Label1(0)"));
        f.answerRight();
        QVERIFY(!f.shown("Label1(0)") && !f.shown("Image1(0)") && !f.shown("Image1(1)"));
    }
}

void MainFrmTest::hintWaitsLongerAsTheRunGoesOn() {
    DrillFixture f;
    f.start();
    const int expected[] = {6000, 8000, 10000, 10000, 10000, 12000, 12000};
    for (int correct = 0; correct < 7; ++correct) {
        QCOMPARE(f.state.run.correctCount, correct);
        f.env.advance(expected[correct] - 1);
        QVERIFY2(!f.shown("Label1(0)"), qPrintable(QString::number(correct)));
        f.env.advance(1);
        QVERIFY2(f.shown("Label1(0)"), qPrintable(QString::number(correct)));
        f.answerRight();
    }
}

void MainFrmTest::problemAreaIsLaidOutInTwipsThroughTheScale() {
    DrillFixture f;
    f.start();
    QCOMPARE(f.frm()->size(), QSize(1024, 768));
    // 15 twips a pixel at 1024 x 768.
    QCOMPARE(f.find("lblBunsuu(2)")->geometry(), QRect(76, 356, 171, 92));
    QCOMPARE(f.find("lblBunsuu(3)")->geometry(), QRect(785, 356, 171, 92));
    QCOMPARE(f.find("lblBunsuu(6)")->geometry(), QRect(76, 450, 171, 92));
    QCOMPARE(f.find("Image1(0)")->geometry(), QRect(168, 264, 463, 91));
    QCOMPARE(f.find("Image2(0)")->geometry(), QRect(393, 456, 490, 115));
    QCOMPARE(f.find("Commandkakunin2")->geometry(), QRect(90, 684, 819, 41));
    f.host.resize(2048, 1536);
    QCOMPARE(f.find("lblBunsuu(2)")->geometry(), QRect(152, 712, 342, 184));
    QCOMPARE(f.find("lblBunsuu(2)")->font().pixelSize(), 192); // 72 points at twice the size
}

void MainFrmTest::rightAnswerPlaysTheCueBeforeTheNextProblem() {
    DrillFixture f;
    f.env.randomValues = DrillFixture::draws(7, 3, 4, 1);
    f.start();
    f.type(QStringLiteral("7"));
    QCOMPARE(f.box(1), QStringLiteral("7"));
    QStringList seenDuringCue;
    f.env.duringPlay = [&](const QString&) {
        seenDuringCue = {f.box(1), f.box(2), f.text("sLabel9")};
    };
    // The cue draws its file first, then the next problem is drawn.
    f.env.randomValues = DrillFixture::draws(9, 8, 9, 4);
    f.env.randomValues.push_front(0.5);
    f.space();
    QCOMPARE(f.rightCues(), 1);
    // While the cue played the answered problem stayed, and the count had not moved.
    QCOMPARE(seenDuringCue, (QStringList{"7", "3", "10"}));
    QCOMPARE(f.text("sLabel9"), QStringLiteral("9"));
    QCOMPARE(f.box(2), QStringLiteral("8"));
    QCOMPARE(f.box(4), QString());
    QCOMPARE(f.frm()->engine().typedAnswer(), QString());
    QCOMPARE(f.state.run.judging, 0);
}

void MainFrmTest::typedAnswersAreJudgedAsLenientNumbers_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("right");
    QTest::newRow("12") << "12" << true;
    QTest::newRow("12 with a point") << "12." << true;
    QTest::newRow("leading zero") << "012" << true;
    QTest::newRow("1-2 reads 1") << "1-2" << false;
    QTest::newRow("nothing typed reads 0") << "" << false;
    QTest::newRow("minus 12") << "-12" << false;
    QTest::newRow("12 and a slash") << "12/" << true;
    QTest::newRow("point 12") << ".12" << false;
    QTest::newRow("13") << "13" << false;
}

void MainFrmTest::typedAnswersAreJudgedAsLenientNumbers() {
    QFETCH(QString, typed);
    QFETCH(bool, right);
    DrillFixture f;
    f.env.randomValues = DrillFixture::draws(7, 3, 4, 4); // 3 : 7 = _ : 28, the blank is 12
    f.start();
    f.type(typed);
    QCOMPARE(f.box(4), typed);
    f.space();
    QCOMPARE(f.rightCues(), right ? 1 : 0);
    QCOMPARE(f.wrongCues(), right ? 0 : 1);
    QCOMPARE(f.text("sLabel9"), right ? QStringLiteral("9") : QStringLiteral("10"));
    QCOMPARE(f.shown("lblBunsuu(8)"), !right);
    QCOMPARE(f.state.run.confirmState, right ? 0 : 1);
}

void MainFrmTest::fourthCharacterIsRefusedWhileEditingKeysStillWork() {
    DrillFixture f;
    f.env.randomValues = DrillFixture::draws(7, 3, 4, 4);
    f.start();
    f.type(QStringLiteral("123"));
    QCOMPARE(f.warnings(), 0);
    f.type(QStringLiteral("4"));
    QCOMPARE(f.box(4), QStringLiteral("123"));
    QCOMPARE(f.warnings(), 1);
    f.type(QStringLiteral("x")); // at three characters every key warns, even one never typed
    QCOMPARE(f.warnings(), 2);
    // Delete carries a character code but is no character key: no warning, no edit.
    QTest::sendKeyEvent(QTest::Click, f.frm(), Qt::Key_Delete, QString(QChar(0x7f)),
                        Qt::NoModifier);
    QCOMPARE(f.warnings(), 2);
    QCOMPARE(f.box(4), QStringLiteral("123"));
    f.key(Qt::Key_Backspace);
    QCOMPARE(f.box(4), QStringLiteral("12"));
    f.type(QStringLiteral("9"));
    QCOMPARE(f.box(4), QStringLiteral("129"));
    f.key(Qt::Key_Left);
    QCOMPARE(f.box(4), QStringLiteral("12"));
    f.key(Qt::Key_Down); // does nothing
    QCOMPARE(f.box(4), QStringLiteral("12"));
    f.key(Qt::Key_Up);
    QCOMPARE(f.box(4), QString());
    f.type(QStringLiteral("45"));
    f.key(Qt::Key_Right);
    QCOMPARE(f.box(4), QString());
    f.key(Qt::Key_Left); // nothing left to take away
    f.key(Qt::Key_Backspace);
    QCOMPARE(f.box(4), QString());
    QCOMPARE(f.warnings(), 2);
    // What was edited is what is judged.
    f.type(QStringLiteral("812"));
    f.key(Qt::Key_Left);
    f.key(Qt::Key_Left);
    f.key(Qt::Key_Left);
    f.type(QStringLiteral("12"));
    f.space();
    QCOMPARE(f.rightCues(), 1);
}

void MainFrmTest::onlyTheDrillsCharactersAreTyped() {
    DrillFixture f;
    f.env.randomValues = DrillFixture::draws(7, 3, 4, 4);
    f.start();
    // Letters, "+", Enter and a full-width digit are ignored without a sound.
    f.type(QStringLiteral("a+"));
    f.key(Qt::Key_Return);
    QTest::sendKeyEvent(QTest::Click, f.frm(), Qt::Key_1, QStringLiteral("１"), Qt::NoModifier);
    QCOMPARE(f.box(4), QString());
    QCOMPARE(f.warnings(), 0);
    f.type(QStringLiteral("*,"));
    f.key(Qt::Key_Backspace);
    f.key(Qt::Key_Backspace);
    f.type(QStringLiteral("-./"));
    QCOMPARE(f.box(4), QStringLiteral("-./"));
    QCOMPARE(f.rightCues() + f.wrongCues(), 0);
}

void MainFrmTest::wrongAnswerShowsTheAnswerAndNeedsTwoPlusesInARow() {
    DrillFixture f;
    f.env.randomValues = DrillFixture::draws(7, 3, 4, 1); // 3 : _ = 12 : 28, the blank is 7
    f.start();
    bool answerShownDuringCue = false;
    bool promptShownDuringCue = true;
    f.env.duringPlay = [&](const QString&) {
        answerShownDuringCue = f.shown("lblBunsuu(5)");
        promptShownDuringCue = f.shown("Commandkakunin2");
    };
    f.type(QStringLiteral("6"));
    f.space();
    f.env.duringPlay = nullptr;
    QCOMPARE(f.wrongCues(), 1);
    QVERIFY(answerShownDuringCue);  // the pupil sees the right value while the cue plays
    QVERIFY(!promptShownDuringCue); // and is asked to acknowledge afterwards
    QCOMPARE(f.text("lblBunsuu(5)"), QStringLiteral("7"));
    for (int n : {6, 7, 8}) {
        QVERIFY(!f.shown(QStringLiteral("lblBunsuu(%1)").arg(n)));
    }
    for (const char* name :
         {"Label1(0)", "Label1(1)", "Image1(0)", "Image1(1)", "Image2(0)", "Image2(1)"}) {
        QVERIFY2(f.shown(QString::fromLatin1(name)), name);
    }
    QVERIFY(f.shown("Commandkakunin2"));
    QCOMPARE(f.text("Commandkakunin2"), QStringLiteral("\"+\"を２回押しなさい"));
    QCOMPARE(f.box(1), QStringLiteral("6"));

    // "+", a digit, "+" does not acknowledge, and the digit is not typed.
    f.type(QStringLiteral("+5+"));
    QVERIFY(f.shown("Commandkakunin2"));
    QCOMPARE(f.box(1), QStringLiteral("6"));
    QCOMPARE(f.wrongCues(), 1);
    // Space is not judged again either; it only breaks the pair.
    f.space();
    f.type(QStringLiteral("+"));
    QVERIFY(f.shown("Commandkakunin2"));
    QCOMPARE(f.wrongCues(), 1);
    f.env.randomValues = DrillFixture::draws(9, 2, 5, 3);
    f.type(QStringLiteral("+"));
    QVERIFY(!f.shown("Commandkakunin2"));
    QVERIFY(!f.shown("lblBunsuu(5)"));
    QVERIFY(!f.shown("Label1(0)") && !f.shown("Image2(1)"));
    QCOMPARE(f.box(2), QStringLiteral("2"));
    QCOMPARE(f.box(3), QString());
    QCOMPARE(f.state.run.confirmState, 0);
    f.type(QStringLiteral("45"));
    f.space();
    QCOMPARE(f.rightCues(), 1);
}

void MainFrmTest::wrongAnswersLowerTheCountButNeverBelowZero() {
    DrillFixture f;
    f.start();
    f.space(); // nothing typed: judged as 0, wrong
    QCOMPARE(f.wrongCues(), 1);
    QCOMPARE(f.state.run.correctCount, 0);
    QCOMPARE(f.text("sLabel9"), QStringLiteral("10"));
    f.acknowledge();
    for (int i = 0; i < 3; ++i) {
        f.answerRight();
    }
    QCOMPARE(f.text("sLabel9"), QStringLiteral("7"));
    f.answerWrong();
    QCOMPARE(f.text("sLabel9"), QStringLiteral("8"));
    QCOMPARE(f.state.run.correctCount, 2);
    f.acknowledge();
    f.answerWrong();
    f.acknowledge();
    f.answerWrong();
    f.acknowledge();
    f.answerWrong();
    QCOMPARE(f.state.run.correctCount, 0);
    QCOMPARE(f.text("sLabel9"), QStringLiteral("10"));
    QCOMPARE(f.wrongCues(), 5);
}

void MainFrmTest::keysDuringJudgingAreIgnored() {
    DrillFixture f;
    f.env.randomValues = DrillFixture::draws(7, 3, 4, 1);
    f.start();
    // Keys that reach the screen while a cue plays are not judged a second time.
    f.env.duringPlay = [&](const QString&) {
        f.type(QStringLiteral("3"));
        f.space();
        f.type(QStringLiteral("++"));
    };
    f.type(QStringLiteral("7"));
    f.space();
    QCOMPARE(f.rightCues(), 1);
    QCOMPARE(f.state.run.correctCount, 1);
    QCOMPARE(f.frm()->engine().typedAnswer(), QString());
    f.space(); // wrong
    QCOMPARE(f.wrongCues(), 1);
    QCOMPARE(f.state.run.confirmState, 1); // the "++" during the cue did not acknowledge
    QVERIFY(f.shown("Commandkakunin2"));
}

void MainFrmTest::grabsOfTheHintAndOfAWrongAnswer() {
    DrillFixture f;
    f.state.run.levelNo = 1;
    f.env.randomValues = DrillFixture::draws(7, 3, 4, 4);
    f.start();
    f.type(QStringLiteral("1"));
    f.env.advance(6000);
    QVERIFY(f.shown("Label1(0)"));
    f.saveGrab(QStringLiteral("drill-hint.png"));

    f.type(QStringLiteral("3"));
    f.space();
    QVERIFY(f.shown("lblBunsuu(8)"));
    f.saveGrab(QStringLiteral("drill-wrong-answer.png"));
}

QTEST_MAIN(MainFrmTest)
#include "test_mainfrm.moc"
