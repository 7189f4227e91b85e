#pragma once
// The record maintenance screen on a test installation, worked the way a teacher works it:
// the window it shows in, the runs the room has recorded, and the clicks on the screen.
#include "RecordsTestSupport.h"
#include "app/ScreenHost.h"
#include "records/RecordMaintenanceScreen.h"
#include "roster/RosterTestFiles.h"
#include "support/TestInstallation.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <vector>

struct MaintenanceRoom {
    TestInstallation inst;
    AppState& state = inst.state;
    FakeEnvironment& env = inst.env;
    ScreenHost host;
    std::vector<ResultRecord> written;

    MaintenanceRoom() {
        state.host = &host;
        state.config.schoolCode = QStringLiteral("12345");
    }
    // One run a day from 1 December 2026 on, in the order given, stamped with the school.
    void writeRuns(const std::vector<int>& pupils, const std::vector<int>& seconds,
                   int secondsApart) {
        for (std::size_t i = 0; i < pupils.size(); ++i) {
            const int n = static_cast<int>(i);
            ResultRecord r = makeRecord(dayNumber(QDate(2026, 12, 1 + n)),
                                        9 * 3600 + secondsApart * n, pupils[i], 1 + n, seconds[i]);
            r.setSchoolCode(QStringLiteral("12345"));
            written.push_back(r);
        }
        inst.writeBytes(resultsFilePath(state), encodeAll(written));
    }
    RecordMaintenanceScreen* open() {
        openRecordMaintenance(state);
        host.show();
        if (!QTest::qWaitForWindowExposed(&host)) {
            qWarning("the window was not shown");
        }
        return qobject_cast<RecordMaintenanceScreen*>(host.current());
    }
    template <class W = QWidget> W* find(const QString& name) const {
        W* w = host.current()->findChild<W*>(name);
        if (!w) {
            qFatal("no control %s", qPrintable(name));
        }
        return w;
    }
    QListWidget* list() const { return find<QListWidget>(QStringLiteral("List1")); }
    // A double-click on a line through the window, as the platform delivers it.
    void doubleClickLine(int row) {
        const QRect rect = list()->visualItemRect(list()->item(row));
        const QPoint at = list()->viewport()->mapTo(&host, rect.center());
        QTest::mouseDClick(host.windowHandle(), Qt::LeftButton, {}, at);
    }
    void click(const QString& button) {
        QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton);
    }
    std::vector<ResultRecord> records() const {
        return decodeAll(fileBytes(resultsFilePath(state)));
    }
};
