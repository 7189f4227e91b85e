#pragma once

#include "app/AppState.h"
#include "records/ResultRecord.h"
#include "records/ResultsFile.h"
#include "support/FakeEnvironment.h"
#include "support/TestInstallation.h"
#include "text/DayNumber.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QTimer>
#include <functional>
#include <vector>

// Drives the fake clock while code under test waits in its own event loop: each turn of
// the loop moves the clock by stepMs and then runs onStep (which may, say, free a file),
// so "wait one second" takes no real time.
class ClockPump {
public:
    ClockPump(FakeEnvironment& env, int stepMs, std::function<void()> onStep = {})
        : env_(env), stepMs_(stepMs), onStep_(std::move(onStep)) {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            ++turns;
            env_.advance(stepMs_);
            if (onStep_) {
                onStep_();
            }
        });
        timer_.start();
    }
    int turns = 0;

private:
    FakeEnvironment& env_;
    int stepMs_;
    std::function<void()> onStep_;
    QTimer timer_;
};

// A record at the given day, time of day (seconds since midnight), pupil, level, seconds.
inline ResultRecord makeRecord(int day, int clockSeconds, int pupil, int level, int seconds) {
    ResultRecord r;
    r.runDate = day;
    r.runClock = clockSeconds / 86400.0;
    r.pupilNo = static_cast<std::int16_t>(pupil);
    r.level = static_cast<std::int16_t>(level);
    r.seconds = seconds;
    return r;
}

inline QByteArray encodeAll(const std::vector<ResultRecord>& records) {
    QByteArray bytes;
    for (const ResultRecord& r : records) {
        const ResultRecordBytes one = encodeResultRecord(r);
        bytes.append(one.data(), ResultRecord::size);
    }
    return bytes;
}

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline std::vector<ResultRecord> decodeAll(const QByteArray& bytes) {
    std::vector<ResultRecord> records;
    for (qsizetype at = 0; at + ResultRecord::size <= bytes.size(); at += ResultRecord::size) {
        records.push_back(decodeResultRecord(bytes.constData() + at));
    }
    return records;
}

inline int todayNumber(FakeEnvironment& env) {
    return dayNumber(env.now().date());
}

// The results file of a test installation, written whole: the records and any tail bytes.
inline QString resultsPath(const TestInstallation& inst) {
    return inst.drillDataFolder() + QStringLiteral("成績累積データ.dat");
}

inline void writeResults(const TestInstallation& inst, const std::vector<ResultRecord>& records,
                         const QByteArray& tail = QByteArray()) {
    inst.writeBytes(resultsPath(inst), encodeAll(records) + tail);
}
