#include "tools/NewSchool.h"

#include "app/AppState.h"
#include "app/LayoutResolution.h"
#include "app/ProfileLoading.h"
#include "records/CriteriaFile.h"
#include "records/ResultsFile.h"
#include "result/SoundCues.h"
#include "roster/RosterFile.h"
#include "text/LenientNumber.h"
#include "tools/ExplanationVideo.h"
#include "tools/SchoolSounds.h"
#include "views/TeacherGate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>

namespace {

QString folderPath(const QString& path) {
    QString folder = QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    if (!folder.endsWith(QDir::separator())) {
        folder += QDir::separator();
    }
    return folder;
}

// The path file is written where the program reads it; when the place beside the program
// folder is a link (as the installed package lays it), the file goes where the link points,
// so the program folder's own files are never replaced.
QString pathFileTarget(const QString& programFolder) {
    const QFileInfo beside(QDir::cleanPath(pathFileOf(programFolder)));
    return QDir::toNativeSeparators(beside.isSymLink() ? beside.symLinkTarget()
                                                       : beside.absoluteFilePath());
}

int highestTimedLevel() {
    ProgramProfile profile;
    applyLevelProfile(profile, drillLevelNames());
    int highest = 0;
    for (int level = 1; level < ProgramProfile::levelSlots; ++level) {
        if (profile.levelTimed[static_cast<std::size_t>(level)] != 0) {
            highest = level;
        }
    }
    return highest;
}

// The program's own path functions take the shared state; the folders are all they read.
std::unique_ptr<AppState> stateFor(const NewSchool& school) {
    auto state = std::make_unique<AppState>();
    state->layout = school.layout;
    return state;
}

QString explanationVideoPath(const NewSchool& school) {
    return school.layout.drillDataFolder + QStringLiteral("解説1.mp4");
}

// The files a new school writes but the key file, which is left alone when it exists
// already (a key folder on a teacher's stick may hold it).
QStringList schoolFiles(const NewSchool& school) {
    const std::unique_ptr<AppState> state = stateFor(school);
    QStringList files{school.pathFile,
                      sharedConfigFileOf(school.layout.dataRoot),
                      rosterFilePath(*state),
                      criteriaFilePath(*state),
                      resultsFilePath(*state),
                      soundTablePath(*state),
                      explanationVideoPath(school)};
    for (const SchoolSound& sound : schoolSounds()) {
        files << school.layout.soundFolder + sound.fileName;
    }
    return files;
}

} // namespace

NewSchool newSchoolFor(const QString& programFolder, const QString& dataRoot,
                       SchoolSettings settings) {
    NewSchool school;
    school.layout.programFolder = folderPath(programFolder);
    school.layout.dataRoot = folderPath(dataRoot);
    deriveDataFolders(school.layout);
    school.pathFile = pathFileTarget(school.layout.programFolder);
    if (settings.keyFolder.isEmpty()) {
        settings.keyFolder = school.layout.dataRoot + QStringLiteral("先生の鍵");
    }
    school.settings = settings;
    school.criteriaLevels = highestTimedLevel();
    return school;
}

QStringList schoolFilesPresent(const NewSchool& school) {
    QStringList present;
    for (const QString& path : schoolFiles(school)) {
        if (QFileInfo(path).exists() || QFileInfo(path).isSymLink()) {
            present << path;
        }
    }
    return present;
}

bool writeSchoolFiles(const NewSchool& school, QString* error) {
    const std::unique_ptr<AppState> state = stateFor(school);
    const QString roster = rosterLineText(teacherRosterLine());
    const QString keyFile = keyFilePath(school.settings.keyFolder);
    // The video first: it needs ffmpeg, the one step that fails on a PC without it.
    return writeExplanationVideo(explanationVideoPath(school), error) &&
           writeSchoolTextFile(school.pathFile, pathFileText(school.layout.dataRoot), error) &&
           writeSchoolTextFile(sharedConfigFileOf(school.layout.dataRoot),
                               sharedConfigText(school.settings), error) &&
           writeSchoolTextFile(rosterFilePath(*state), roster, error) &&
           (QFileInfo::exists(keyFile) || writeSchoolTextFile(keyFile, keyFileText(), error)) &&
           writeSchoolTextFile(criteriaFilePath(*state), defaultCriteriaText(school.criteriaLevels),
                               error) &&
           writeSchoolBinaryFile(resultsFilePath(*state), QByteArray(), error) &&
           writeSchoolSounds(*state, error);
}

bool createNewSchool(const NewSchool& school, QString* error) {
    const QStringList present = schoolFilesPresent(school);
    if (!present.isEmpty()) {
        *error = QStringLiteral("学校のファイルがもうあります。何も書き換えません:\n  ") +
                 present.join(QStringLiteral("\n  "));
        return false;
    }
    const QString keyFile = keyFilePath(school.settings.keyFolder);
    const bool keyWasThere = QFileInfo::exists(keyFile);
    if (writeSchoolFiles(school, error)) {
        return true;
    }
    // None of these files was there before: remove what was written, so that the
    // technician can mend the cause and run the command again.
    for (const QString& path : schoolFiles(school)) {
        QFile::remove(path);
    }
    if (!keyWasThere) {
        QFile::remove(keyFile);
    }
    return false;
}

QString settingsFault(const SchoolSettings& settings) {
    if (settings.schoolYearStartMonth < 1 || settings.schoolYearStartMonth > 12) {
        return QStringLiteral("年度の始まりの月「%1」は 1～12 ではありません。")
            .arg(settings.schoolYearStartMonth);
    }
    const QString& code = settings.schoolCode;
    if (!code.isEmpty()) {
        bool digits = code.size() == 5;
        for (const QChar c : code) {
            digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
        }
        if (!digits || lenientNumber(code) == 0) {
            return QStringLiteral("学校コード「%1」は 0 でない 5 けたの数字ではありません。")
                .arg(code);
        }
    } else if (lenientNumber(settings.schoolName.left(5)) != 0) {
        // Read back, a name starting with a number would lose its first five characters to
        // the school code.
        return QStringLiteral(
                   "学校名「%1」が数字で始まります。学校コードと一緒に指定してください。")
            .arg(settings.schoolName);
    }
    for (const QString& text : {settings.schoolName, settings.keyFolder}) {
        if (text.contains(QLatin1Char('"')) || text.contains(QLatin1Char('\n')) ||
            text.contains(QLatin1Char('\r'))) {
            return QStringLiteral("「%1」には \" や改行を使えません。").arg(text);
        }
    }
    return QString();
}
