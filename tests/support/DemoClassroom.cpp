#include "support/DemoClassroom.h"

#include "app/Firstfrm.h"
#include "app/ScreenRoutes.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QtEndian>

namespace demoschool {

std::vector<Run> runsOf(const QByteArray& resultsFile) {
    std::vector<Run> runs;
    for (qsizetype at = 0; at + 44 <= resultsFile.size(); at += 44) {
        const auto* r = reinterpret_cast<const uchar*>(resultsFile.constData() + at);
        runs.push_back({qFromLittleEndian<double>(r), qFromLittleEndian<qint16>(r + 16),
                        qFromLittleEndian<qint16>(r + 18), qFromLittleEndian<qint32>(r + 20)});
    }
    return runs;
}

int rowOfPupil(const QListWidget* list) {
    for (int row = 1; row < list->count(); ++row) {
        if (list->item(row)->text().contains(pupilName)) {
            return row;
        }
    }
    return -1;
}

} // namespace demoschool

DemoClassroom::DemoClassroom() {
    demo = demoInstallationAt(dir.path(), demoschool::today);
    QString error;
    if (!layOutDemoInstallation(demo, &error)) {
        qFatal("%s", qPrintable(error));
    }
    env.setNow(QDateTime(demoschool::today, demoschool::visit));
    state.env = &env;
    state.host = &host;
    wireScreens(state);
    host.resize(1024, 768);
    host.show();
}

DemoClassroom::~DemoClassroom() = default;

void DemoClassroom::startUp() {
    splash = std::make_unique<Firstfrm>(state, demo.programFolder);
    splash->load();
    env.advance(100);
}

QString DemoClassroom::resultsPath() const {
    return demo.drillDataFolder + QStringLiteral("成績累積データ.dat");
}

QByteArray DemoClassroom::resultsFile() const {
    QFile file(resultsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString DemoClassroom::text(const QString& labelName) const {
    const auto* label = host.current() ? host.current()->findChild<QLabel*>(labelName) : nullptr;
    return label ? label->text() : QStringLiteral("<no %1>").arg(labelName);
}

bool DemoClassroom::shown(const QString& name) const {
    const auto* widget = host.current() ? host.current()->findChild<QWidget*>(name) : nullptr;
    return widget && widget->isVisible();
}

void DemoClassroom::press(Qt::Key key) {
    QTest::keyClick(host.windowHandle(), key);
}

void DemoClassroom::type(const QString& keys) {
    for (const QChar c : keys) {
        QTest::keyClick(host.windowHandle(), c.toLatin1());
    }
}

void DemoClassroom::saveGrab(const QString& fileName) {
    QDir().mkpath(QStringLiteral(MIRUNEA_ARTIFACTS_DIR));
    const QString path = QStringLiteral(MIRUNEA_ARTIFACTS_DIR "/") + fileName;
    QVERIFY2(host.grab().save(path), qPrintable(path));
}
