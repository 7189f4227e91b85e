#pragma once

// An installation with one pupil who has just finished a run: criteria for the levels,
// the profile, the sound table, and a results file the result screen counts from.

#include "records/ResultRecord.h"
#include "records/ResultsFile.h"
#include "result/SoundCues.h"
#include "support/TestInstallation.h"
#include "text/Cp932.h"
#include "text/DayNumber.h"

#include <QFile>
#include <vector>

struct ResultInstallation : TestInstallation {
    static constexpr int pupil = 7;

    ResultInstallation() {
        for (int level = 1; level < Statistics::levels; ++level) {
            LevelCriteria& c = state.criteria[level];
            c.targetSeconds = 60;
            c.minimumSeconds = 120;
            c.clearPoints = 30;
            c.clearCount = 3;
            c.pointFactor = 1.5f;
            c.judgeDays = 30;
            c.overuseDays = 1;
        }
        state.profile.programTitle = QStringLiteral("ミルネア");
        state.profile.levelNames[1] = QStringLiteral("レベル１");
        state.profile.levelNames[2] = QStringLiteral("レベル２");
        state.profile.levelCount = 1;
        state.profile.finalLevel = 1;
        state.pupil.pupilIndex = pupil;
        state.pupil.pupilName = QStringLiteral("  山田　花子　　");
        state.run.levelNo = 1;

        const QString table = u"正解音2\r\nright\r\n*\r\n間違い音2\r\nwrong\r\n*\r\n"
                              u"自己最高音2\r\nbest\r\n*\r\n不合格音1\r\npassing\r\n*\r\n"_qs;
        writeBytes(soundFolder() + u"新音ファイル.txt"_qs, encodeCp932(table).value());
        if (!loadSoundTable(state)) {
            qFatal("the sound table does not load");
        }
    }

    int today() { return dayNumber(env.now().date()); }

    // Appends records of the pupil (daysAgo 0 is today).
    void addRuns(int level, const std::vector<int>& seconds, int daysAgo = 0, int who = pupil) {
        QFile file(resultsFilePath(state));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
            qFatal("cannot write the results file");
        }
        for (int s : seconds) {
            ResultRecord r;
            r.runDate = today() - daysAgo;
            r.runClock = 0.25;
            r.pupilNo = static_cast<std::int16_t>(who);
            r.level = static_cast<std::int16_t>(level);
            r.seconds = s;
            const ResultRecordBytes bytes = encodeResultRecord(r);
            file.write(bytes.data(), ResultRecord::size);
        }
    }

    // The run just recorded: its record is in the file and the run fields are set as the
    // recording step leaves them.
    void finishRun(int seconds, int personalBest = 0, int schoolBest = 0, int level = 1) {
        addRuns(level, {seconds});
        state.run.levelNo = level;
        state.run.resultTime = seconds;
        state.run.timedOut = seconds == 99999 ? 1 : 0;
        state.run.newBestFlags = {personalBest, schoolBest};
    }

    // The run recorded the way the drill's end records it: the statistics as the level
    // menu left them, then the recording step, which appends the record and sets
    // alreadyCleared and the new-best flags.
    void recordRun(int seconds, int level = 1) {
        if (!countResults(state)) {
            qFatal("the results file does not count");
        }
        state.run.levelNo = level;
        state.run.resultTime = seconds;
        state.run.timedOut = seconds == 99999 ? 1 : 0;
        if (!::recordRun(state, level)) {
            qFatal("the run could not be recorded");
        }
    }

    QString wave(const QString& base) const { return soundFolder() + base + u".wav"_qs; }
};
