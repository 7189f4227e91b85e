#include "roster/RosterFile.h"

#include "app/AppState.h"
#include "roster/GradeRules.h"
#include "text/Cp932.h"
#include "text/ItemReader.h"
#include "text/LenientNumber.h"
#include "text/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <array>
#include <cmath>
#include <optional>

namespace {

constexpr int valuesPerLine = 8;
constexpr int maxListedInReport = 10;
constexpr int lowestGrade = -3;  // 幼- : the youngest a pupil of the school can be
constexpr int highestGrade = 15; // three years past 高3

// The values of one line of the file.
struct RawLine {
    int line = 0;
    std::vector<QString> values;
    std::vector<bool> quoted;
};

// A value of a 16-bit field: read the lenient way, rounded as the files' integer fields
// are (halves to even); nullopt when it does not fit.
std::optional<std::int16_t> toInt16(const QString& text) {
    const double rounded = std::nearbyint(lenientNumber(text));
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(rounded);
}

// A text field: cut to its first 20 characters (never inside a surrogate pair) and
// padded on the right with blanks.
QString fixedText(const QString& text) {
    // The spare text fields are nearly always empty: they all share one blank field
    // rather than each holding its own copy of twenty blanks.
    static const QString blankField(RosterEntry::textWidth, QLatin1Char(' '));
    if (text.isEmpty()) {
        return blankField;
    }
    qsizetype keep = std::min<qsizetype>(text.size(), RosterEntry::textWidth);
    if (keep < text.size() && keep > 0 && text.at(keep - 1).isHighSurrogate()) {
        --keep;
    }
    QString field;
    field.reserve(RosterEntry::textWidth);
    field.append(QStringView(text).left(keep));
    field.resize(RosterEntry::textWidth, QLatin1Char(' '));
    return field;
}

// Reads the file as text. An end-of-file mark (Ctrl-Z, which old editors write) ends the
// file. When it holds bytes that are not CP932, the lines that are readable are kept and
// each unreadable one is reported and read as a blank line, so one stray byte does not
// empty the whole list. A file holding nothing but blanks is reported as empty.
std::optional<QString> readRosterText(const QString& path, RosterReport& report) {
    if (!QFileInfo::exists(path)) {
        report.fileError = QStringLiteral("名簿ファイル「%1」が見つかりません。").arg(path);
        return std::nullopt;
    }
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        report.fileError = readCp932File(path).error;
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    file.close();
    if (const qsizetype mark = bytes.indexOf('\x1a'); mark >= 0) {
        bytes.truncate(mark);
    }
    if (bytes.trimmed().isEmpty()) {
        report.fileError = QStringLiteral("名簿ファイル「%1」が空です。").arg(path);
        return std::nullopt;
    }
    if (std::optional<QString> text = decodeCp932(bytes)) {
        return text;
    }
    QStringList lines;
    int lineNo = 0;
    for (const QByteArray& lineBytes : bytes.split('\n')) {
        ++lineNo;
        Cp932Error error;
        if (std::optional<QString> text = decodeCp932(lineBytes, &error)) {
            lines.append(*text);
        } else {
            lines.append(QString());
            report.skipped.push_back(
                {lineNo, QStringLiteral("%1 バイト目から Shift_JIS として読めない文字があります")
                             .arg(error.column)});
        }
    }
    return lines.join(QLatin1Char('\n'));
}

// Reads the next line of values into `line` (the reader skips empty lines); false at the
// end of the file. The vectors of `line` are reused from line to line.
bool nextLine(ItemReader& reader, RawLine& line) {
    line.values.clear();
    line.quoted.clear();
    while (std::optional<Item> item = reader.next()) {
        if (line.values.empty()) {
            line.line = item->line;
        }
        line.values.push_back(std::move(item->text));
        line.quoted.push_back(item->quoted);
        if (item->endsLine) {
            return true;
        }
    }
    return !line.values.empty();
}

const char16_t* const numberFieldNames[] = {u"番号", u"生まれ年", u"予備番号1", u"予備番号2"};

// Turns the values of a line into an entry and its status; a description of the fault
// when the line cannot be taken.
struct ParsedLine {
    RosterEntry entry;
    int status = 0;
    QString fault;
};

ParsedLine parseLine(const RawLine& raw) {
    ParsedLine parsed;
    if (!raw.values.empty()) {
        // The number first: a header line is told as such, not as a short line.
        const ValueVerdict number = checkPupilNumber(raw.values[0]);
        if (!number.ok) {
            parsed.fault = number.message;
            return parsed;
        }
    }
    const auto count = static_cast<int>(raw.values.size());
    if (count < valuesPerLine) {
        parsed.fault = QStringLiteral("値が8個そろっていません（%1個）").arg(count);
        return parsed;
    }
    for (int i = valuesPerLine; i < count; ++i) {
        // A comma at the end of the line (an empty, unquoted value) is harmless; anything
        // more means the values have slipped, most likely an unquoted comma in a name.
        const auto index = static_cast<std::size_t>(i);
        if (!raw.values[index].isEmpty() || raw.quoted[index]) {
            parsed.fault = QStringLiteral("値が8個より多くあります（%1個）").arg(count);
            return parsed;
        }
    }
    auto number = [&](int index, const QString& field) -> std::optional<std::int16_t> {
        const QString& text = raw.values[static_cast<std::size_t>(index)];
        std::optional<std::int16_t> value = toInt16(text);
        if (!value && parsed.fault.isEmpty()) {
            parsed.fault =
                QStringLiteral("%1「%2」が -32768～32767 の範囲を超えています").arg(field, text);
        }
        return value;
    };
    const std::array<std::int16_t*, 4> targets = {&parsed.entry.pupilNo, &parsed.entry.birthYear,
                                                  &parsed.entry.reservedNo1,
                                                  &parsed.entry.reservedNo2};
    for (int i = 0; i < 4; ++i) {
        if (auto value = number(i, QString::fromUtf16(numberFieldNames[i]))) {
            *targets[static_cast<std::size_t>(i)] = *value;
        }
    }
    if (auto value = number(5, QStringLiteral("状態"))) {
        parsed.status = *value;
    }
    if (!parsed.fault.isEmpty()) {
        return parsed;
    }
    parsed.entry.name = fixedText(raw.values[4]);
    parsed.entry.reservedText1 = fixedText(raw.values[6]);
    parsed.entry.reservedText2 = fixedText(raw.values[7]);
    return parsed;
}

void clearLinesFrom(CurrentPupil& pupil, int first) {
    for (int k = first; k <= CurrentPupil::maxRosterLines; ++k) {
        pupil.rosterEntries[static_cast<std::size_t>(k)] = RosterEntry{};
        pupil.rosterLinePupil[static_cast<std::size_t>(k)] = 0;
    }
}

} // namespace

QString rosterFilePath(const AppState& state) {
    return state.layout.dataRoot + QStringLiteral("新名簿.txt");
}

ValueVerdict checkPupilNumber(const QString& text) {
    const double value = std::nearbyint(lenientNumber(text));
    if (startsWithNumber(text) && value >= 1 && value <= CurrentPupil::maxPupilNo) {
        return ValueVerdict::usable();
    }
    QString why = QStringLiteral("番号「%1」が 1～5000 の数ではありません").arg(text);
    if (holdsFullWidthDigit(text)) {
        why += QStringLiteral("（数字は半角で書いてください）");
    }
    return ValueVerdict::fault(why);
}

ValueVerdict checkBirthYear(int birthYear, int schoolYear, const QString& name) {
    const int grade = gradeIndexOf(schoolYear, birthYear);
    if ((grade >= lowestGrade && grade <= highestGrade) || name.contains(QStringLiteral("先生"))) {
        return ValueVerdict::usable();
    }
    return ValueVerdict::fault(
        QStringLiteral(
            "生まれ年 %1 は生徒の生まれ年（%2～%3 年）ではないので、学年が正しく出ません")
            .arg(birthYear)
            .arg(schoolYear - 6 - highestGrade)
            .arg(schoolYear - 6 - lowestGrade));
}

QString sharedPupilNumberText(int pupilNo, int firstLine, int secondLine) {
    return QStringLiteral("番号 %1 が %2 行目と %3 行目の両方にあります。二人の成績が一つに"
                          "まとめられます")
        .arg(pupilNo)
        .arg(firstLine)
        .arg(secondLine);
}

RosterRead readRosterFile(const QString& path, int schoolYear) {
    RosterRead read;
    RosterReport& report = read.report;
    report.path = path;
    const std::optional<QString> text = readRosterText(path, report);
    ItemReader reader(text.value_or(QString()));
    std::vector<int> firstLineOf(CurrentPupil::maxPupilNo + 1, 0);
    read.lines.reserve(CurrentPupil::maxRosterLines); // a full school, without regrowing
    RawLine raw;
    while (nextLine(reader, raw)) {
        ParsedLine parsed = parseLine(raw);
        if (!parsed.fault.isEmpty()) {
            report.skipped.push_back({raw.line, parsed.fault});
            continue;
        }
        RosterLineRead line;
        line.line = raw.line;
        line.status = parsed.status;
        line.gradeIndex = gradeIndexOf(schoolYear, parsed.entry.birthYear);
        line.nameLength = static_cast<int>(raw.values[4].size());
        const ValueVerdict year =
            checkBirthYear(parsed.entry.birthYear, schoolYear, parsed.entry.name);
        if (!year.ok) {
            report.doubtful.push_back({raw.line, year.message});
        }
        int& first = firstLineOf[static_cast<std::size_t>(parsed.entry.pupilNo)];
        if (first != 0) {
            report.doubtful.push_back(
                {raw.line, sharedPupilNumberText(parsed.entry.pupilNo, first, raw.line)});
        } else {
            first = raw.line;
        }
        line.entry = std::move(parsed.entry);
        read.lines.push_back(std::move(line));
    }
    return read;
}

RosterReport loadRoster(AppState& state, const ListedPupilSink& onListed,
                        const RosterLineSink& onEveryLine) {
    CurrentPupil& pupil = state.pupil;
    updateSchoolYear(state);
    RosterRead read = readRosterFile(rosterFilePath(state), pupil.schoolYear);
    RosterReport& report = read.report;
    const bool showStatus2 = state.config.showStatus2Pupils == 1;

    int k = 0;
    for (RosterLineRead& line : read.lines) {
        const bool listed = line.status == 0 || (line.status == 2 && showStatus2);
        if (listed && k == CurrentPupil::maxRosterLines) {
            report.stoppedAtLine = line.line;
            break;
        }
        const RosterEntry& entry = line.entry;
        const auto no = static_cast<std::size_t>(entry.pupilNo);
        const int grade = line.gradeIndex;
        pupil.rosterNames[no] = entry.name;
        pupil.rosterBirthYears[no] = entry.birthYear;
        if (grade >= 0 && grade <= 10) {
            pupil.rosterGroups[no] = fullGradeLabel(grade);
        }
        if (onEveryLine) {
            onEveryLine(entry, grade);
        }
        if (!listed) {
            continue;
        }
        ++k;
        const auto position = static_cast<std::size_t>(k);
        pupil.rosterLinePupil[position] = entry.pupilNo;
        pupil.rosterEntries[position] = std::move(line.entry);
        if (onListed) {
            const RosterEntry& stored = pupil.rosterEntries[position];
            onListed(ListedPupil{stored, grade, shortGradeLabel(grade), stageNumber(grade)});
        }
    }
    pupil.rosterLineCount = k;
    clearLinesFrom(pupil, k + 1);
    return std::move(report);
}

QString rosterReportText(const RosterReport& report) {
    if (report.clean()) {
        return QString();
    }
    QStringList parts;
    if (!report.fileError.isEmpty()) {
        parts << report.fileError << QStringLiteral("名前の一覧は空になります。");
    }
    if (!report.skipped.empty()) {
        parts << QStringLiteral("名簿ファイル「%1」の次の行は読めないので飛ばしました。")
                     .arg(report.path);
        const int total = static_cast<int>(report.skipped.size());
        for (int i = 0; i < std::min(total, maxListedInReport); ++i) {
            const RosterProblem& problem = report.skipped[static_cast<std::size_t>(i)];
            parts << QStringLiteral("　%1行目: %2").arg(problem.line).arg(problem.what);
        }
        if (total > maxListedInReport) {
            parts << QStringLiteral("　ほかに%1行").arg(total - maxListedInReport);
        }
    }
    if (!report.doubtful.empty()) {
        parts << QStringLiteral("名簿ファイル「%1」の次の行を直してください（名前の一覧には"
                                "載せています）。")
                     .arg(report.path);
        const int total = static_cast<int>(report.doubtful.size());
        for (int i = 0; i < std::min(total, maxListedInReport); ++i) {
            const RosterProblem& problem = report.doubtful[static_cast<std::size_t>(i)];
            parts << QStringLiteral("　%1行目: %2").arg(problem.line).arg(problem.what);
        }
        if (total > maxListedInReport) {
            parts << QStringLiteral("　ほかに%1行").arg(total - maxListedInReport);
        }
    }
    if (report.stoppedAtLine > 0) {
        parts << QStringLiteral("名簿ファイル「%1」には%2人より多く載っています。%3行目から先は"
                                "読まず、最初の%2人だけを表示します。")
                     .arg(report.path)
                     .arg(CurrentPupil::maxRosterLines)
                     .arg(report.stoppedAtLine);
    }
    parts << QStringLiteral("先生を呼びなさい。");
    return parts.join(QLatin1Char('\n'));
}
