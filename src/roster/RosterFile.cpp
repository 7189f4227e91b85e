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
    qsizetype keep = std::min<qsizetype>(text.size(), RosterEntry::textWidth);
    if (keep < text.size() && keep > 0 && text.at(keep - 1).isHighSurrogate()) {
        --keep;
    }
    QString field = text.left(keep);
    field.append(QString(RosterEntry::textWidth - field.size(), QLatin1Char(' ')));
    return field;
}

// Reads the file as text. When it holds bytes that are not CP932, the lines that are
// readable are kept and each unreadable one is reported and read as a blank line, so one
// stray byte does not empty the whole list.
std::optional<QString> readRosterText(const QString& path, RosterReport& report) {
    if (!QFileInfo::exists(path)) {
        report.fileError = QStringLiteral("名簿ファイル「%1」が見つかりません。").arg(path);
        return std::nullopt;
    }
    TextFileRead read = readCp932File(path);
    if (read.ok) {
        return read.text;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        report.fileError = read.error;
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    QStringList lines;
    int lineNo = 0;
    for (const QByteArray& lineBytes : bytes.split('\n')) {
        ++lineNo;
        if (std::optional<QString> text = decodeCp932(lineBytes)) {
            lines.append(*text);
        } else {
            lines.append(QString());
            report.skipped.push_back(
                {lineNo, QStringLiteral("Shift_JIS として読めない文字があります")});
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
    if (parsed.entry.pupilNo < 0 || parsed.entry.pupilNo > CurrentPupil::maxPupilNo) {
        parsed.fault = QStringLiteral("番号 %1 が 0～5000 の範囲外です").arg(parsed.entry.pupilNo);
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

RosterReport loadRoster(AppState& state, const ListedPupilSink& onListed,
                        const RosterLineSink& onEveryLine) {
    CurrentPupil& pupil = state.pupil;
    updateSchoolYear(state);
    RosterReport report;
    report.path = rosterFilePath(state);

    const std::optional<QString> text = readRosterText(report.path, report);
    ItemReader reader(text.value_or(QString()));
    const bool showStatus2 = state.config.showStatus2Pupils == 1;

    int k = 0;
    RawLine raw;
    while (nextLine(reader, raw)) {
        ParsedLine parsed = parseLine(raw);
        if (!parsed.fault.isEmpty()) {
            report.skipped.push_back({raw.line, parsed.fault});
            continue;
        }
        const bool listed = parsed.status == 0 || (parsed.status == 2 && showStatus2);
        if (listed && k == CurrentPupil::maxRosterLines) {
            report.stoppedAtLine = raw.line;
            break;
        }
        const RosterEntry& entry = parsed.entry;
        const auto no = static_cast<std::size_t>(entry.pupilNo);
        const int grade = gradeIndexOf(pupil.schoolYear, entry.birthYear);
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
        pupil.rosterEntries[position] = std::move(parsed.entry);
        if (onListed) {
            const RosterEntry& stored = pupil.rosterEntries[position];
            onListed(ListedPupil{stored, grade, shortGradeLabel(grade), stageNumber(grade)});
        }
    }
    pupil.rosterLineCount = k;
    clearLinesFrom(pupil, k + 1);
    return report;
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
