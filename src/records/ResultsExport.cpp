#include "records/ResultsExport.h"

#include "app/AppState.h"
#include "app/Environment.h"
#include "records/CriteriaFile.h"
#include "records/ResultsFile.h"
#include "text/DayNumber.h"

#include <QFileInfo>
#include <QSaveFile>
#include <charconv>
#include <cmath>

namespace {

constexpr int timedOut = 99999;
constexpr qsizetype flushBytes = 1 << 20;

// A CSV field: quoted when it holds a comma, a double quote or a line break, with the
// quotes doubled.
QByteArray csvField(const QString& text) {
    QByteArray bytes = text.toUtf8();
    if (bytes.contains(',') || bytes.contains('"') || bytes.contains('\n') ||
        bytes.contains('\r')) {
        bytes.replace("\"", "\"\"");
        bytes = '"' + bytes + '"';
    }
    return bytes;
}

void appendNumber(QByteArray& out, long long value) {
    char digits[24];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    (void)error;
    out.append(digits, end - digits);
}

void appendTwoDigits(QByteArray& out, int value) {
    out.append(static_cast<char>('0' + value / 10));
    out.append(static_cast<char>('0' + value % 10));
}

// The date column: yyyy-mm-dd, empty for a date that is no day; the last one is kept,
// since a file holds long runs of the same day.
class DateColumn {
public:
    const QByteArray& text(double runDate) {
        if (runDate != lastDay_ || !known_) {
            known_ = true;
            lastDay_ = runDate;
            const QDate date = std::isfinite(runDate) ? dateOfDayNumber(runDate) : QDate();
            text_ = date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")).toUtf8()
                                   : QByteArray();
        }
        return text_;
    }

private:
    bool known_ = false;
    double lastDay_ = 0;
    QByteArray text_;
};

void appendClock(QByteArray& out, double fraction) {
    if (!(fraction >= 0 && fraction < 1)) {
        return;
    }
    const int seconds = std::min(static_cast<int>(std::lround(fraction * 86400)), 86399);
    appendTwoDigits(out, seconds / 3600);
    out.append(':');
    appendTwoDigits(out, seconds / 60 % 60);
    out.append(':');
    appendTwoDigits(out, seconds % 60);
}

bool isSchoolFile(const AppState& state, const QString& target) {
    const QString absolute = QFileInfo(target).absoluteFilePath();
    for (const QString& file : {resultsFilePath(state), criteriaFilePath(state),
                                state.layout.dataRoot + QStringLiteral("新名簿.txt"),
                                state.layout.dataRoot + QStringLiteral("共通データ.txt")}) {
        if (QFileInfo(file).absoluteFilePath() == absolute) {
            return true;
        }
    }
    return false;
}

} // namespace

QStringList resultsExportHeader() {
    return {QStringLiteral("記録番号"), QStringLiteral("日付"),     QStringLiteral("時刻"),
            QStringLiteral("生徒番号"), QStringLiteral("名前"),     QStringLiteral("学年"),
            QStringLiteral("レベル"),   QStringLiteral("レベル名"), QStringLiteral("タイム（秒）"),
            QStringLiteral("時間切れ"), QStringLiteral("ポイント"), QStringLiteral("塾コード"),
            QStringLiteral("備考")};
}

ExportOutcome exportResults(const AppState& state, const PupilLabels& pupils,
                            const ExportFilter& filter, const QString& csvPath) {
    ExportOutcome outcome;
    if (isSchoolFile(state, csvPath)) {
        outcome.error =
            QStringLiteral("「%1」は塾のファイルです。別のファイル名を指定してください。")
                .arg(csvPath);
        return outcome;
    }
    QSaveFile file(csvPath);
    if (!file.open(QIODevice::WriteOnly)) {
        outcome.error =
            QStringLiteral("「%1」に書き出せません: %2").arg(csvPath, file.errorString());
        return outcome;
    }

    // What every row repeats, converted once.
    std::vector<QByteArray> names(pupils.names.size());
    std::vector<QByteArray> grades(pupils.grades.size());
    for (std::size_t no = 0; no < names.size(); ++no) {
        names[no] = csvField(pupils.names[no]);
        grades[no] = csvField(pupils.grades[no]);
    }
    std::vector<QByteArray> levelNames(ProgramProfile::levelSlots);
    for (std::size_t level = 0; level < levelNames.size(); ++level) {
        levelNames[level] = csvField(state.profile.levelNames[level].trimmed());
    }
    const double today = dayNumber(state.env->now().date());
    DateColumn dates;

    QByteArray out("\xEF\xBB\xBF");
    out += resultsExportHeader().join(QLatin1Char(',')).toUtf8() + "\r\n";
    bool writeFailed = false;
    auto flush = [&] {
        if (file.write(out) != out.size()) {
            writeFailed = true;
        }
        out.clear();
    };
    // No results file yet: a file of headings only (opening it would create it).
    const FileResult result =
        !QFileInfo::exists(resultsFilePath(state))
            ? FileResult::success()
            : scanResultsTail(
                  state, -1,
                  [&](qint64 firstNumber, const char* bytes, qint64 count) {
                      for (qint64 i = 0; i < count; ++i) {
                          const ResultRecord r = decodeResultRecord(bytes + i * ResultRecord::size);
                          if (filter.pupil != 0 && r.pupilNo != filter.pupil) {
                              continue;
                          }
                          if (filter.datesSet() &&
                              !(std::isfinite(r.runDate) && r.runDate >= filter.fromDay &&
                                r.runDate < static_cast<double>(filter.toDay) + 1)) {
                              continue;
                          }
                          const RecordFault fault = recordFault(r, today);
                          const bool knownPupil = r.pupilNo >= 0 && r.pupilNo <= 5000;
                          const bool knownLevel =
                              r.level >= 0 && r.level < ProgramProfile::levelSlots;
                          appendNumber(out, firstNumber + i);
                          out += ',' + dates.text(r.runDate) + ',';
                          appendClock(out, r.runClock);
                          out += ',';
                          appendNumber(out, r.pupilNo);
                          out += ',';
                          if (knownPupil) {
                              out += names[static_cast<std::size_t>(r.pupilNo)] + ',' +
                                     grades[static_cast<std::size_t>(r.pupilNo)];
                          } else {
                              out += ',';
                          }
                          out += ',';
                          appendNumber(out, r.level);
                          out += ',';
                          if (knownLevel) {
                              out += levelNames[static_cast<std::size_t>(r.level)];
                          }
                          out += ',';
                          if (r.seconds == timedOut) {
                              out += ",時間切れ,";
                          } else {
                              appendNumber(out, r.seconds);
                              out += ",,";
                          }
                          if (fault == RecordFault::None) {
                              appendNumber(out, runPoints(state, r.seconds, r.level));
                          }
                          out += ',' + csvField(r.schoolCodeText().trimmed()) + ',';
                          if (fault != RecordFault::None) {
                              out += csvField(recordFaultText(fault, r));
                          }
                          out += "\r\n";
                          ++outcome.rows;
                      }
                      if (out.size() >= flushBytes) {
                          flush();
                      }
                  },
                  &outcome.records);
    if (!result.ok()) {
        file.cancelWriting();
        outcome.error = QStringLiteral("成績累積データ.dat「%1」を読めません: %2")
                            .arg(resultsFilePath(state), result.description);
        return outcome;
    }
    flush();
    if (writeFailed || !file.commit()) {
        outcome.error =
            QStringLiteral("「%1」に書き出せません: %2").arg(csvPath, file.errorString());
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}
