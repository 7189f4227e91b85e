#pragma once

// A drill screen on a fake classroom PC: the program's window, a pupil, level criteria,
// a sound table and routes that count which screen would come next.

#include "app/AppState.h"
#include "app/ScreenHost.h"
#include "drill/DrillRun.h"
#include "drill/MainFrm.h"
#include "drill/Problem.h"
#include "support/TestInstallation.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QtEndian>
#include <deque>

struct DrillFixture {
    TestInstallation inst;
    AppState& state = inst.state;
    FakeEnvironment& env = inst.env;
    ScreenHost host;
    int resultScreens = 0;
    int levelMenus = 0;

    static constexpr int pupil = 7;

    DrillFixture() {
        state.host = &host;
        state.profile.programTitle = QStringLiteral("ミルネア");
        const char* names[] = {"",         "レベル１", "レベル２", "レベル３",
                               "レベル４", "混合",     "混合",     "レベル３練習"};
        for (int n = 1; n <= 7; ++n) {
            state.profile.levelNames[n] = QString::fromUtf8(names[n]);
        }
        for (int n = 1; n <= 24; ++n) {
            state.profile.levelTimed[n] = 1;
        }
        for (int n = 1; n <= 3; ++n) {
            state.criteria[n].targetSeconds = 30;
            state.criteria[n].minimumSeconds = 60;
            state.criteria[n].clearPoints = 100;
            state.criteria[n].clearCount = 5;
            state.criteria[n].pointFactor = 1.5f;
            state.criteria[n].judgeDays = 7;
            state.criteria[n].overuseDays = 1;
            state.criteria[n].overuseRuns = 99;
            state.criteria[n].overusePoints = 9999;
        }
        state.config.schoolName = QStringLiteral("青葉教室");
        state.pupil.pupilIndex = pupil;
        state.pupil.pupilName = QStringLiteral("  山田　花子　　");
        state.pupil.loginTime = 10 * 3600 - 59; // 59 s before the fake clock's 10:00:00
        state.run.levelNo = 1;

        const QString cueNames[] = {QString(), QStringLiteral("正解音1"), QStringLiteral("正解音2"),
                                    QStringLiteral("間違い音1"), QStringLiteral("間違い音2")};
        for (int cue = 1; cue <= 4; ++cue) {
            SoundCue& c = state.sounds.cues[cue];
            c.name = cueNames[cue];
            // The table names files without their extension, as the schools' tables do.
            c.files[1] = QStringLiteral("cue%1").arg(cue);
            c.fileCount = QStringLiteral("1");
            inst.writeBytes(inst.soundFolder() + c.files[1] + QStringLiteral(".wav"),
                            QByteArray("RIFF"));
        }
        inst.writeBytes(inst.soundFolder() + QStringLiteral("警告1.wav"), QByteArray("RIFF"));

        state.routes.openResultScreen = [this] { ++resultScreens; };
        state.routes.openLevelMenu = [this] { ++levelMenus; };
        host.show();
    }

    // The random values that make the next problem A, B, K with the given blank; level 3
    // first draws the mode.
    static std::deque<double> draws(int a, int b, int k, int blank, int modeOfLevel3 = 0) {
        std::deque<double> d;
        if (modeOfLevel3 != 0) {
            d.push_back(modeOfLevel3 == 1 ? 0.25 : 0.75);
        }
        d.push_back((a - 2 + 0.5) / 8);
        d.push_back((b - 1 + 0.5) / (a - 1));
        d.push_back((k - 2 + 0.5) / 8);
        d.push_back((blank - 1 + 0.5) / 4);
        return d;
    }

    MainFrm* start() {
        startRun(state);
        return frm();
    }
    MainFrm* frm() const { return qobject_cast<MainFrm*>(host.current()); }
    template <class W = QWidget> W* find(const QString& name) const {
        W* w = frm()->findChild<W*>(name);
        if (!w) {
            qFatal("no control %s", qPrintable(name));
        }
        return w;
    }
    QString text(const QString& name) const { return find<QLabel>(name)->text(); }
    bool shown(const QString& name) const { return find(name)->isVisible(); }
    QString box(int n) const { return text(QStringLiteral("lblBunsuu(%1)").arg(n)); }

    void type(const QString& keys) { QTest::keyClicks(frm(), keys); }
    void key(Qt::Key k) { QTest::keyClick(frm(), k); }
    void space() { key(Qt::Key_Space); }

    const Problem& problem() const { return frm()->engine().problem(); }
    int blankValue() const { return termValues(problem())[problem().blankIndex]; }
    void answerRight() {
        type(QString::number(blankValue()));
        space();
    }
    void answerWrong() {
        type(QString::number(blankValue() + 1));
        space();
    }
    void acknowledge() { type(QStringLiteral("++")); }

    int plays(const QString& fileName) const {
        int n = 0;
        for (const QString& p : env.played) {
            n += p.endsWith(fileName) ? 1 : 0;
        }
        return n;
    }
    int rightCues() const { return plays(QStringLiteral("cue2.wav")); }
    int wrongCues() const { return plays(QStringLiteral("cue4.wav")); }
    int warnings() const { return plays(QStringLiteral("警告1.wav")); }

    QByteArray resultsFile() const {
        QFile f(inst.drillDataFolder() + QStringLiteral("成績累積データ.dat"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static int recordSeconds(const QByteArray& file, int record) {
        return qFromLittleEndian<qint32>(file.constData() + 44 * record + 20);
    }

    // A grab of the program's window for a reviewer, in the artefact folder.
    void saveGrab(const QString& fileName) {
        QDir().mkpath(QStringLiteral(MIRUNEA_ARTIFACTS_DIR));
        const QString path = QStringLiteral(MIRUNEA_ARTIFACTS_DIR "/") + fileName;
        QVERIFY2(host.grab().save(path), qPrintable(path));
    }
};
