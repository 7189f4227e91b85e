#include "support/MenuSchool.h"

#include "records/ResultsFile.h"
#include "text/DayNumber.h"
#include "views/LevelMenu.h"

#include <QTest>

QString levelNameWithDigit(int level) {
    return QStringLiteral("レベル%1").arg(level);
}

QString levelNameWithWideDigit(int level) {
    return QStringLiteral("レベル%1").arg(QChar(0xFF10 + level % 10));
}

MenuSchool::MenuSchool(int levels, QString (*levelName)(int)) {
    AppState& s = t.state;
    s.host = &host;
    s.profile.programTitle = QStringLiteral("ミルネア");
    s.profile.levelCount = levels;
    s.profile.finalLevel = levels;
    s.profile.allLevelsOpen = 1;
    for (int i = 1; i <= levels; ++i) {
        s.profile.levelNames[std::size_t(i)] = levelName(i);
        s.profile.levelTimed[std::size_t(i)] = 1;
        s.criteria[std::size_t(i)] = {40, 60, 100, 3, 1.5f, 0, 0, 7, 1, 0, 0, 0};
    }
    s.config.schoolName = QStringLiteral("ミルネア塾　本校");
    s.pupil.pupilIndex = 42;
    s.pupil.pupilName = QStringLiteral("山田太郎").leftJustified(20);
    s.pupil.gradeFilter = QStringLiteral("全学年");
    host.resize(1024, 768);
}

void MenuSchool::recordRun(int daysAgo, int pupilNo, int level, int seconds, QTime at) {
    AppState& s = t.state;
    const int self = s.pupil.pupilIndex;
    s.pupil.pupilIndex = pupilNo;
    s.run.resultTime = seconds;
    ResultRecord record = runRecord(s, level);
    s.pupil.pupilIndex = self;
    record.runDate -= daysAgo;
    if (at.isValid()) {
        record.runClock = dayFraction(at);
    }
    if (!appendResultRecord(s, record)) {
        qFatal("the run could not be recorded");
    }
}

seisekitime1* MenuSchool::open() {
    host.show();
    host.activateWindow();
    if (!QTest::qWaitForWindowActive(&host)) {
        qWarning("the window did not become active");
    }
    openLevelMenu(t.state);
    return qobject_cast<seisekitime1*>(host.current());
}
