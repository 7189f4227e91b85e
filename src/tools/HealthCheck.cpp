#include "tools/HealthCheck.h"

#include "app/AppState.h"
#include "app/ConfigFiles.h"
#include "app/ExplanationAddress.h"
#include "app/LayoutResolution.h"
#include "app/ProfileLoading.h"
#include "media/ExplanationEntry.h"
#include "records/CriteriaFile.h"
#include "records/ResultsFile.h"
#include "result/SoundCues.h"
#include "result/WaveFile.h"
#include "roster/GradeRules.h"
#include "roster/RosterFile.h"
#include "text/Cp932.h"
#include "text/DayNumber.h"
#include "text/LenientNumber.h"
#include "text/TextFile.h"
#include "tools/ToolEnvironment.h"
#include "views/TeacherGate.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cstring>
#include <map>

namespace {

constexpr int listedPerKind = 10; // record findings of one kind named one by one

// The first day a copy of the program can have written: 1 January 2000.
const double firstPlausibleDay = dayNumber(QDate(2000, 1, 1));

QString lineText(int line) {
    return QStringLiteral("%1 行目").arg(line);
}

QString recordText(qint64 number) {
    return QStringLiteral("記録 %1").arg(number);
}

QString dateText(double day) {
    return dateOfDayNumber(day).toString(QStringLiteral("yyyy-MM-dd"));
}

bool endsInSeparator(const QString& path) {
    return path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\'));
}

// Findings about records of one kind: the first few by number, then how many more.
struct RecordKind {
    FindingLevel level;
    QString what;
    std::vector<std::pair<qint64, QString>> first;
    qint64 count = 0;

    // text is only made for the records that are named: a file of a million records of
    // one kind costs no million messages.
    template <typename MakeText> void add(qint64 number, MakeText&& text) {
        if (count++ < listedPerKind) {
            first.emplace_back(number, text());
        }
    }
};

// The records of the results file gone through one by one, each kind of finding by a
// check of its own, with the range of dates of the usable records.
class RecordSurvey {
public:
    RecordSurvey(double today, QByteArray ownCode, const std::vector<bool>& knownPupils)
        : today_(today), ownCode_(std::move(ownCode)), knownPupils_(knownPupils) {}

    void take(qint64 number, const char* bytes) {
        checkRepeated(number, bytes);
        const ResultRecord r = decodeResultRecord(bytes);
        const RecordFault fault = recordFault(r, today_);
        if (fault != RecordFault::None) {
            checkFault(number, r, fault);
            return;
        }
        checkSchool(number, r);
        checkPupil(number, r);
        checkEarly(number, r);
        countUsable(r);
    }

    std::array<const RecordKind*, 6> kinds() const {
        return {&foreign_, &damaged_, &early_, &twice_, &otherSchool_, &unknownPupil_};
    }

    double firstDay = 0;
    double lastDay = 0;
    qint64 usable = 0;

private:
    // A record standing twice in a row: what a deletion stopped half-way leaves.
    void checkRepeated(qint64 number, const char* bytes) {
        if (havePrevious_ && std::memcmp(previous_.data(), bytes, ResultRecord::size) == 0) {
            twice_.add(number,
                       [&] { return QStringLiteral("記録 %1 と同じです。").arg(number - 1); });
        }
        std::memcpy(previous_.data(), bytes, ResultRecord::size);
        havePrevious_ = true;
    }

    // Records the value rules leave out: foreign levels or pupils, and damaged values.
    void checkFault(qint64 number, const ResultRecord& r, RecordFault fault) {
        RecordKind& kind = fault == RecordFault::ForeignLevelOrPupil ? foreign_ : damaged_;
        kind.add(number, [&] { return recordFaultText(fault, r) + QStringLiteral("。"); });
    }

    void checkSchool(qint64 number, const ResultRecord& r) {
        if (std::memcmp(r.schoolCode.data(), ownCode_.constData(), ResultRecord::textWidth) != 0) {
            otherSchool_.add(
                number, [&] { return QStringLiteral("塾コード「%1」").arg(r.schoolCodeText()); });
        }
    }

    void checkPupil(qint64 number, const ResultRecord& r) {
        if (!knownPupils_[static_cast<std::size_t>(r.pupilNo)]) {
            unknownPupil_.add(number, [&] { return QStringLiteral("生徒番号 %1").arg(r.pupilNo); });
        }
    }

    void checkEarly(qint64 number, const ResultRecord& r) {
        if (r.runDate < firstPlausibleDay) {
            early_.add(number, [&] { return QStringLiteral("日付 %1").arg(r.runDate); });
        }
    }

    void countUsable(const ResultRecord& r) {
        if (usable == 0 || r.runDate < firstDay) {
            firstDay = r.runDate;
        }
        if (usable == 0 || r.runDate > lastDay) {
            lastDay = r.runDate;
        }
        ++usable;
    }

    double today_;
    QByteArray ownCode_;
    const std::vector<bool>& knownPupils_;
    std::array<char, ResultRecord::size> previous_{};
    bool havePrevious_ = false;
    RecordKind foreign_{
        FindingLevel::Warning, QStringLiteral("このプログラムの記録にないレベルか生徒番号"), {}, 0};
    RecordKind damaged_{FindingLevel::Warning,
                        QStringLiteral("数えずに飛ばす記録（タイムが負、日付が読めない、"
                                       "今日より後）"),
                        {},
                        0};
    RecordKind early_{FindingLevel::Warning, QStringLiteral("2000 年より前の日付"), {}, 0};
    RecordKind twice_{FindingLevel::Warning,
                      QStringLiteral("すぐ前の記録とまったく同じ記録（消去の途中で止まった跡"
                                     "かもしれません）"),
                      {},
                      0};
    RecordKind otherSchool_{FindingLevel::Info, QStringLiteral("ほかの塾コードの記録"), {}, 0};
    RecordKind unknownPupil_{FindingLevel::Info, QStringLiteral("名簿にない生徒番号の記録"), {}, 0};
};

class Checker {
public:
    Checker(ToolEnvironment& env, const QString& programFolder) : env_(env) {
        state_.env = &env;
        state_.layout.programFolder = programFolderOf(programFolder);
    }

    HealthReport run() {
        if (!checkPathFile()) {
            return std::move(report_);
        }
        checkConfiguration();
        deriveDataFolders(state_.layout);
        applyLevelProfile(state_.profile, drillLevelNames());
        checkDrillFolder();
        checkRoster();
        checkCriteria();
        checkSounds();
        checkResults();
        checkExplanation();
        return std::move(report_);
    }

private:
    void add(FindingLevel level, const QString& file, const QString& place, const QString& text) {
        report_.findings.push_back({level, QDir::toNativeSeparators(file), place, text});
    }

    // What a reader would have shown in a message box, as findings about file.
    bool takeMessages(FindingLevel level, const QString& file) {
        const std::vector<ToolEnvironment::Message> messages = env_.takeMessages();
        for (const ToolEnvironment::Message& m : messages) {
            QString text = m.text;
            text.replace(QStringLiteral("\r\n"), QStringLiteral(" "))
                .replace(QLatin1Char('\n'), QLatin1Char(' '));
            add(level, file, QString(), text);
        }
        return !messages.empty();
    }

    bool checkPathFile() {
        const QString path = pathFileOf(state_.layout.programFolder);
        if (!readPathFile(state_, path)) {
            takeMessages(FindingLevel::Error, path);
            add(FindingLevel::Error, path, QString(),
                QStringLiteral("データフォルダが分からないので、この先は点検できません。"));
            return false;
        }
        const QString root = state_.layout.dataRoot;
        add(FindingLevel::Info, path, lineText(1), QStringLiteral("データフォルダ: %1").arg(root));
        if (!endsInSeparator(root)) {
            add(FindingLevel::Error, path, lineText(1),
                QStringLiteral("データフォルダ「%1」が区切り文字で終わっていません。ファイルの"
                               "場所が正しく作れず、起動できません。")
                    .arg(root));
        } else if (!QFileInfo(root).isDir()) {
            add(FindingLevel::Error, path, lineText(1),
                QStringLiteral("データフォルダ「%1」がありません。").arg(root));
        }
        return true;
    }

    void checkConfiguration() {
        const QString path = sharedConfigFileOf(state_.layout.dataRoot);
        if (!readSharedConfig(state_, path)) {
            takeMessages(FindingLevel::Error, path);
            return;
        }
        const SharedConfig& c = state_.config;
        add(FindingLevel::Info, path, QString(),
            QStringLiteral("学年の始まる月 %1、塾コード「%2」、塾名「%3」、状態 2 の生徒を%4")
                .arg(c.schoolYearStartMonth)
                .arg(c.schoolCode, c.schoolName,
                     c.showStatus2Pupils == 1 ? QStringLiteral("表示する")
                                              : QStringLiteral("表示しない")));
        const KeyFolderRead key = readKeyFolder(state_);
        if (!key.ok) {
            add(FindingLevel::Warning, path, QString(), key.error);
        } else if (key.folder.isEmpty()) {
            add(FindingLevel::Warning, path, QStringLiteral("5 項目め"),
                QStringLiteral("先生の鍵のフォルダが空です。先生の画面は開けません。"));
        } else if (!keyFileOpens(key.folder)) {
            add(FindingLevel::Warning, keyFilePath(key.folder), QString(),
                QStringLiteral("先生の鍵のファイルが開けません（5 項目めのフォルダ「%1」）。"
                               "先生の画面は開けません。")
                    .arg(key.folder));
        } else {
            add(FindingLevel::Info, keyFilePath(key.folder), QString(),
                QStringLiteral("先生の鍵があります。"));
        }
    }

    void checkDrillFolder() {
        const QString folder = state_.layout.drillDataFolder;
        if (!QFileInfo(folder).isDir()) {
            add(FindingLevel::Error, folder, QString(),
                QStringLiteral("ドリルのデータフォルダ（プログラムのフォルダと同じ名前「%1」）が"
                               "ありません。")
                    .arg(state_.layout.drillFolderName));
        }
    }

    void checkRoster() {
        updateSchoolYear(state_);
        const QString path = rosterFilePath(state_);
        const RosterRead read = readRosterFile(path, state_.pupil.schoolYear);
        const RosterReport& report = read.report;
        if (!report.fileError.isEmpty()) {
            add(FindingLevel::Error, path, QString(),
                report.fileError + QStringLiteral("名前の一覧が空になり、だれも始められません。"));
            return;
        }
        for (const RosterProblem& p : report.skipped) {
            add(FindingLevel::Warning, path, lineText(p.line),
                p.what + QStringLiteral("。この行は一覧に出ません。"));
        }
        for (const RosterProblem& p : report.doubtful) {
            add(FindingLevel::Warning, path, lineText(p.line), p.what + QStringLiteral("。"));
        }
        std::map<int, int> byGrade;
        std::map<int, int> byStatus;
        int listed = 0;
        const bool showStatus2 = state_.config.showStatus2Pupils == 1;
        for (const RosterLineRead& line : read.lines) {
            if (line.nameLength > RosterEntry::textWidth) {
                add(FindingLevel::Warning, path, lineText(line.line),
                    QStringLiteral("名前「%1」は %2 文字あり、初めの %3 文字だけが使われます。")
                        .arg(line.entry.name.trimmed())
                        .arg(line.nameLength)
                        .arg(RosterEntry::textWidth));
            }
            ++byStatus[line.status];
            const bool shown = line.status == 0 || (line.status == 2 && showStatus2);
            if (shown) {
                ++listed;
                ++byGrade[line.gradeIndex];
            }
            if (shown && listed == CurrentPupil::maxRosterLines + 1) {
                add(FindingLevel::Warning, path, lineText(line.line),
                    QStringLiteral("一覧に出る人が 5000 人を超えます。ここから先は出ません。"));
            }
        }
        QStringList statuses;
        for (const auto& [status, count] : byStatus) {
            statuses << QStringLiteral("状態 %1: %2 行").arg(status).arg(count);
        }
        add(FindingLevel::Info, path, QString(),
            QStringLiteral("%1 行を読み、%2 人が一覧に出ます（%3）。")
                .arg(read.lines.size())
                .arg(listed)
                .arg(statuses.join(QStringLiteral("、"))));
        QStringList grades;
        for (const auto& [grade, count] : byGrade) {
            grades << QStringLiteral("%1 %2人").arg(shortGradeLabel(grade)).arg(count);
        }
        if (!grades.isEmpty()) {
            add(FindingLevel::Info, path, QString(),
                QStringLiteral("%1 年度の学年: %2")
                    .arg(state_.pupil.schoolYear)
                    .arg(grades.join(QStringLiteral("、"))));
        }
        for (const RosterLineRead& line : read.lines) {
            knownPupils_[static_cast<std::size_t>(line.entry.pupilNo)] = true;
        }
    }

    void checkCriteria() {
        const QString path = criteriaFilePath(state_);
        const TextFileRead file = readCp932File(path);
        if (!file.ok) {
            add(FindingLevel::Error, path, QString(), file.error);
            return;
        }
        const CriteriaParse parse = parseCriteria(file.text, CriteriaTable{});
        if (!parse.ok) {
            add(FindingLevel::Error, path, QString(),
                parse.error + QStringLiteral("起動できません。"));
            return;
        }
        state_.criteria = parse.table;
        for (const CriteriaNote& note : parse.notes) {
            add(FindingLevel::Warning, path, lineText(note.line),
                note.message + QStringLiteral("。"));
        }
        for (const CriteriaNote& note : parse.unsavable) {
            add(FindingLevel::Warning, path, lineText(note.line),
                note.message + QStringLiteral("。"));
        }
        if (parse.extraLines) {
            add(FindingLevel::Warning, path, lineText(criteriaLevels + 2),
                QStringLiteral("レベル 35 より後の行があります。読まれません。"));
        }
        for (int level = 1; level < ProgramProfile::levelSlots; ++level) {
            if (state_.profile.levelTimed[static_cast<std::size_t>(level)] == 0) {
                continue;
            }
            const QString name =
                state_.profile.levelNames[static_cast<std::size_t>(level)].trimmed();
            if (level > parse.levels) {
                add(FindingLevel::Error, path, QString(),
                    QStringLiteral("レベル %1「%2」の行がありません。このレベルは始められません。")
                        .arg(level)
                        .arg(name));
                continue;
            }
            const QString fault =
                levelCriteriaFault(state_.criteria[static_cast<std::size_t>(level)]);
            if (!fault.isEmpty()) {
                add(FindingLevel::Error, path, lineText(level + 1),
                    QStringLiteral("レベル %1「%2」の%3が正しくないので、このレベルは始められ"
                                   "ません。")
                        .arg(level)
                        .arg(name, fault));
            }
        }
        add(FindingLevel::Info, path, QString(),
            QStringLiteral("%1 レベル分の行があります。").arg(parse.levels));
    }

    void checkWave(const QString& file, FindingLevel level, const QString& use) {
        const WaveCheck wave = inspectWaveFile(file);
        if (!wave.ok) {
            add(level, file, QString(), use + QStringLiteral(": ") + wave.error);
        } else if (wave.formatTag != 1 && wave.formatTag != 3 && wave.formatTag != 0xFFFE) {
            add(level, file, QString(),
                use + QStringLiteral(": 圧縮された音（形式 %1）で、鳴らせないことがあります。")
                          .arg(wave.formatTag));
        }
    }

    void checkSounds() {
        const QString path = soundTablePath(state_);
        if (!loadSoundTable(state_)) {
            takeMessages(FindingLevel::Error, path);
            return;
        }
        // The cues the program plays. The right- and wrong-answer cues count failures: the
        // fourth in a row ends the program.
        for (const int c : {正解音2, 間違い音2, 自己最高音2, 不合格音1}) {
            const SoundCue& cue = state_.sounds.cues[static_cast<std::size_t>(c)];
            const FindingLevel level =
                (c == 正解音2 || c == 間違い音2) ? FindingLevel::Error : FindingLevel::Warning;
            const int files = static_cast<int>(
                std::min<double>(lenientNumber(cue.fileCount), SoundCue::maxFiles));
            if (cue.fileCount.isEmpty() || files < 1) {
                add(level, path, QString(),
                    QStringLiteral("音「%1」のファイルが書かれていません。").arg(cue.name));
                continue;
            }
            for (int n = 1; n <= files; ++n) {
                const QString& name = cue.files[static_cast<std::size_t>(n)];
                checkWave(state_.layout.soundFolder + name + QStringLiteral(".wav"), level,
                          QStringLiteral("音「%1」の %2 番目").arg(cue.name).arg(n));
            }
        }
        for (const char16_t* fixed : {u"最高1.wav", u"合格.wav", u"警告1.wav"}) {
            checkWave(state_.layout.soundFolder + QString::fromUtf16(fixed), FindingLevel::Warning,
                      QStringLiteral("決まった音"));
        }
        add(FindingLevel::Info, path, QString(), QStringLiteral("音の表を読みました。"));
    }

    void checkResults() {
        const QString path = resultsFilePath(state_);
        const QFileInfo info(path);
        if (info.isDir()) {
            RecordFile file;
            add(FindingLevel::Error, path, QString(),
                openResultsFile(state_, file, RecordFile::Access::Read).description);
            return;
        }
        if (!info.exists()) {
            add(FindingLevel::Info, path, QString(),
                QStringLiteral("成績のファイルはまだありません（最初の記録で作られます）。"));
            return;
        }
        RecordSurvey survey(dayNumber(env_.now().date()),
                            encodeCp932Field(state_.config.schoolCode, ResultRecord::textWidth)
                                .value_or(QByteArray()),
                            knownPupils_);
        qint64 total = 0;
        const FileResult result = scanResultsTail(
            state_, -1,
            [&](qint64 firstNumber, const char* bytes, qint64 count) {
                for (qint64 i = 0; i < count; ++i) {
                    survey.take(firstNumber + i, bytes + i * ResultRecord::size);
                }
            },
            &total);
        if (!result.ok()) {
            add(FindingLevel::Error, path, QString(),
                QStringLiteral("読めません: %1（%2）")
                    .arg(result.description)
                    .arg(result.errorNumber));
            return;
        }
        const qint64 torn = info.size() % ResultRecord::size;
        if (torn != 0) {
            add(FindingLevel::Warning, path, recordText(total + 1),
                QStringLiteral("ファイルの終わりの %1 バイトは記録の途中で切れています（次の記録で"
                               "上書きされます）。")
                    .arg(torn));
        }
        for (const RecordKind* kind : survey.kinds()) {
            report(path, *kind);
        }
        QString range;
        if (survey.usable > 0) {
            range = QStringLiteral("、日付は %1 から %2 まで")
                        .arg(dateText(survey.firstDay), dateText(survey.lastDay));
        }
        add(FindingLevel::Info, path, QString(),
            QStringLiteral("記録 %1 件（使える記録 %2 件%3）。")
                .arg(total)
                .arg(survey.usable)
                .arg(range));
        if (total > maxLoadedResults) {
            add(FindingLevel::Info, path, QString(),
                QStringLiteral("数えるのは新しい %1 件だけです。").arg(maxLoadedResults));
        }
    }

    void report(const QString& path, const RecordKind& kind) {
        for (const auto& [number, text] : kind.first) {
            add(kind.level, path, recordText(number), kind.what + QStringLiteral(": ") + text);
        }
        if (kind.count > listedPerKind) {
            add(kind.level, path, QString(),
                QStringLiteral("%1は、ほかに %2 件あります。")
                    .arg(kind.what)
                    .arg(kind.count - listedPerKind));
        }
    }

    void checkExplanation() {
        const QString file = state_.layout.drillDataFolder + explanationAddressFileName;
        const QString address = explanationAddress(state_);
        if (takeMessages(FindingLevel::Warning, file)) {
            return;
        }
        const bool configured = QFileInfo::exists(file);
        if (viewerFor(address) == ExplanationViewer::Animation) {
            add(FindingLevel::Info, file, QString(),
                QStringLiteral("解説はブラウザで開きます: %1").arg(address));
            return;
        }
        const QString media = state_.layout.drillDataFolder + address;
        if (!QFileInfo(media).isFile()) {
            add(FindingLevel::Warning, media, QString(),
                QStringLiteral("解説の動画「%1」がありません%2。")
                    .arg(address,
                         configured
                             ? QString()
                             : QStringLiteral("（解説アドレス.txt がないので決まった名前です）")));
            return;
        }
        add(FindingLevel::Info, media, QString(), QStringLiteral("解説の動画があります。"));
    }

    ToolEnvironment& env_;
    AppState state_;
    HealthReport report_;
    std::vector<bool> knownPupils_ = std::vector<bool>(CurrentPupil::maxPupilNo + 1, false);
};

} // namespace

int HealthReport::count(FindingLevel level) const {
    return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                          [level](const Finding& f) { return f.level == level; }));
}

int HealthReport::exitStatus() const {
    if (count(FindingLevel::Error) > 0) {
        return 1;
    }
    return count(FindingLevel::Warning) > 0 ? 2 : 0;
}

HealthReport checkInstallation(ToolEnvironment& env, const QString& programFolder) {
    return Checker(env, programFolder).run();
}

QString findingLine(const Finding& finding) {
    QString label;
    switch (finding.level) {
    case FindingLevel::Error:
        label = QStringLiteral("[エラー]");
        break;
    case FindingLevel::Warning:
        label = QStringLiteral("[注意]");
        break;
    case FindingLevel::Info:
        label = QStringLiteral("[情報]");
        break;
    }
    QString line = label + QLatin1Char(' ') + finding.file;
    if (!finding.place.isEmpty()) {
        line += QStringLiteral(": ") + finding.place;
    }
    return line + QStringLiteral(": ") + finding.text;
}

QString summaryLine(const HealthReport& report) {
    const int errors = report.count(FindingLevel::Error);
    const int warnings = report.count(FindingLevel::Warning);
    QString verdict;
    if (errors > 0) {
        verdict = QStringLiteral("このままでは起動できないか、止まることがあります。");
    } else if (warnings > 0) {
        verdict = QStringLiteral("起動できますが、直したほうがよいところがあります。");
    } else {
        verdict = QStringLiteral("問題はありません。");
    }
    return QStringLiteral("点検の結果: エラー %1 件、注意 %2 件。").arg(errors).arg(warnings) +
           verdict;
}
