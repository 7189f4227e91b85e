#include "roster/SelectionActions.h"

#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Messages.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

QString launcherFolder(const InstallLayout& layout) {
    QString folder = layout.programFolder;
    while (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'))) {
        folder.chop(1);
    }
    const QChar sep = QDir::separator();
    return folder + sep + QStringLiteral("..") + sep + QStringLiteral("起動");
}

QString launcherPath(const InstallLayout& layout) {
    QString path =
        launcherFolder(layout) + QDir::separator() + QStringLiteral("プログラムメニューc");
#ifdef Q_OS_WIN
    path += QStringLiteral(".exe");
#endif
    return path;
}

void leaveForLauncher(AppState& state, QWidget* parent) {
    // A school that runs this drill alone has no launcher to go back to: nothing is broken,
    // so no pupil is sent for the teacher.
    if (!QFileInfo(launcherFolder(state.layout)).isDir()) {
        qWarning().noquote() << QStringLiteral(
                                    "「%1」がないので、プログラムメニューに戻らずに終わります。")
                                    .arg(QDir::cleanPath(launcherFolder(state.layout)));
        state.env->endProgram(0);
        return;
    }
    const QString path = launcherPath(state.layout);
    QString error;
    if (state.env->startProcess(path, {launcherArgument()}, &error)) {
        state.env->endProgram(0);
        return;
    }
    QString text = QStringLiteral("プログラムメニューを起動できませんでした。\n%1").arg(path);
    if (!error.isEmpty()) {
        text += QStringLiteral("\n（%1）").arg(error);
    }
    text += QStringLiteral("\nこのプログラムは終了します。");
    fatalError(state, parent, QStringLiteral("注意"), text);
}

bool refuseSecondCopy(AppState& state, QWidget* parent) {
    if (state.env->claimSingleInstance()) {
        return false;
    }
    fatalError(state, parent, QStringLiteral("注意"),
               QStringLiteral("このプログラムと同じプログラムがすでに起動され、完全に終了されていま"
                              "せん。同じプログラムを完全に終了させてから実行してください。"));
    return true;
}

void takePupil(AppState& state, int pupilNo) {
    CurrentPupil& pupil = state.pupil;
    const int msecs = state.env->now().time().msecsSinceStartOfDay();
    pupil.loginTime = (msecs + 500) / 1000;
    pupil.pupilIndex = pupilNo;
    pupil.pupilName = pupil.rosterNames[static_cast<std::size_t>(pupilNo)];
    pupil.pupilGroup = pupil.rosterGroups[static_cast<std::size_t>(pupilNo)];
}
