#include "tools/ResultsExport.h"

#include "app/AppState.h"
#include "app/Environment.h"
#include "records/CriteriaFile.h"
#include "records/ResultsFile.h"
#include "records/TimedOut.h"
#include "text/DayNumber.h"
#include "tools/ExportTarget.h"

#include <QFileInfo>
#include <QSaveFile>
#include <charconv>
#include <cmath>

namespace {

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

// The school code column: decoding a code page opens a converter, and a file holds one or
// two codes, so the last one is kept.
class SchoolCodeColumn {
public:
    const QByteArray& text(const ResultRecord& record) {
        if (!known_ || record.schoolCode != last_) {
            known_ = true;
            last_ = record.schoolCode;
            text_ = csvField(record.schoolCodeText().trimmed());
        }
        return text_;
    }

private:
    bool known_ = false;
    ResultRecord::TextBytes last_{};
    QByteArray text_;
};

// Writes the rows; what every row repeats (names, grade labels, level names) is
// converted once.
class RowWriter {
public:
    RowWriter(const AppState& state, const PupilLabels& pupils)
        : state_(state), today_(dayNumber(state.env->now().date())), names_(pupils.names.size()),
          grades_(pupils.grades.size()), levelNames_(ProgramProfile::levelSlots) {
        for (std::size_t no = 0; no < names_.size(); ++no) {
            names_[no] = csvField(pupils.names[no]);
            grades_[no] = csvField(pupils.grades[no]);
        }
        for (std::size_t level = 0; level < levelNames_.size(); ++level) {
            levelNames_[level] = csvField(state.profile.levelNames[level].trimmed());
        }
    }

    void append(QByteArray& out, qint64 number, const ResultRecord& r) {
        const RecordFault fault = recordFault(r, today_);
        appendNumber(out, number);
        out.append(',').append(dates_.text(r.runDate)).append(',');
        appendClock(out, r.runClock);
        out.append(',');
        appendNumber(out, r.pupilNo);
        out.append(',');
        if (r.pupilNo >= 0 && static_cast<std::size_t>(r.pupilNo) < names_.size()) {
            const auto no = static_cast<std::size_t>(r.pupilNo);
            out.append(names_[no]).append(',').append(grades_[no]);
        } else {
            out.append(',');
        }
        out.append(',');
        appendNumber(out, r.level);
        out.append(',');
        if (r.level >= 0 && r.level < ProgramProfile::levelSlots) {
            out.append(levelNames_[static_cast<std::size_t>(r.level)]);
        }
        out.append(',');
        if (isTimedOut(r.seconds)) {
            out.append(",時間切れ,");
        } else {
            appendNumber(out, r.seconds);
            out.append(",,");
        }
        if (fault == RecordFault::None) {
            appendNumber(out, runPoints(state_, r.seconds, r.level));
        }
        out.append(',').append(codes_.text(r)).append(',');
        if (fault != RecordFault::None) {
            out.append(csvField(recordFaultText(fault, r)));
        }
        out.append("\r\n");
    }

private:
    const AppState& state_;
    double today_;
    std::vector<QByteArray> names_;
    std::vector<QByteArray> grades_;
    std::vector<QByteArray> levelNames_;
    DateColumn dates_;
    SchoolCodeColumn codes_;
};

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
    const ExportTarget target = exportTargetOf(state.layout, csvPath);
    if (!target.refusal.isEmpty()) {
        outcome.error = target.refusal;
        return outcome;
    }
    // Written to a temporary file beside the target and renamed over it only when every row
    // is written (a file not committed is discarded): a failed or killed export leaves
    // whatever the target held as it was.
    QSaveFile file(target.path);
    if (!file.open(QIODevice::WriteOnly)) {
        outcome.error =
            QStringLiteral("「%1」に書き出せません: %2").arg(csvPath, file.errorString());
        return outcome;
    }

    RowWriter rows(state, pupils);
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
                          rows.append(out, firstNumber + i, r);
                          ++outcome.rows;
                      }
                      if (out.size() >= flushBytes) {
                          flush();
                      }
                  },
                  &outcome.records);
    if (!result.ok()) {
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
