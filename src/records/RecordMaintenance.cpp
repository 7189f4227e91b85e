#include "records/RecordMaintenance.h"

#include "app/AppState.h"
#include "app/Messages.h"
#include "records/FileRetry.h"
#include "records/RecordFile.h"
#include "records/ResultsFile.h"
#include "roster/GradeRules.h"
#include "roster/RosterFile.h"
#include "text/DayNumber.h"
#include "text/LenientNumber.h"

#include <QDir>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

namespace {

const QString kTitle = QStringLiteral("注意");
const QChar fullWidthSpace(0x3000);
constexpr qint64 recordSize = ResultRecord::size;

// Blanks on either side of a roster name (the file pads names with spaces).
QString trimBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' ')) {
        ++first;
    }
    while (last > first && text.at(last - 1) == QLatin1Char(' ')) {
        --last;
    }
    return text.mid(first, last - first);
}

// A failure after the lock was taken: the file may have been written already, so it is
// never tried again.
FileResult asFinal(FileResult result) {
    if (!result.ok()) {
        result.state = FileState::Failed;
    }
    return result;
}

// A change of an existing record under the file's lock. Any failure once the lock is held
// is final: the file may have been written already, so it is never tried again.
FileResult changeUnderLock(const AppState& state,
                           const std::function<FileResult(RecordFile&)>& change) {
    return changeResultsFile(state, [&](RecordFile& file) { return asFinal(change(file)); });
}

// Whether record `number` of the open file still holds `bytes`.
FileResult checkRecord(RecordFile& file, qint64 number, const ResultRecordBytes& bytes,
                       qint64* wholeRecords, bool* same) {
    *same = false;
    qint64 length = 0;
    FileResult result = file.size(&length);
    if (!result.ok()) {
        return result;
    }
    *wholeRecords = length / recordSize;
    if (number < 1 || number > *wholeRecords) {
        return FileResult::success();
    }
    ResultRecordBytes read{};
    qint64 got = 0;
    result = file.readAt((number - 1) * recordSize, read.data(), recordSize, &got);
    if (!result.ok()) {
        return result;
    }
    *same = got == recordSize && read == bytes;
    return FileResult::success();
}

// Whether the last two whole records of the open file are byte for byte equal: the trace
// of a deletion that stopped after moving the records up and before the cut.
FileResult lastRecordTwice(RecordFile& file, qint64 wholeRecords, bool* twice) {
    *twice = false;
    if (wholeRecords < 2) {
        return FileResult::success();
    }
    QByteArray last(2 * recordSize, Qt::Uninitialized);
    qint64 got = 0;
    const FileResult result =
        file.readAt((wholeRecords - 2) * recordSize, last.data(), last.size(), &got);
    if (result.ok()) {
        *twice = got == last.size() &&
                 std::memcmp(last.constData(), last.constData() + recordSize, recordSize) == 0;
    }
    return result;
}

// Cuts off the last record when it stands twice; wholeRecords follows the cut.
FileResult cutLastTwin(AppState& state, RecordFile& file, qint64* wholeRecords, bool* cut) {
    bool twice = false;
    FileResult result = lastRecordTwice(file, *wholeRecords, &twice);
    if (!result.ok() || !twice) {
        return result;
    }
    result =
        retryLockedStep(state, [&] { return file.truncateTo((*wholeRecords - 1) * recordSize); });
    if (result.ok()) {
        --*wholeRecords;
        *cut = true;
    }
    return result;
}

// Writes bytes at offset, carrying on from where an interrupted try stopped; done counts
// the bytes that reached the file.
FileResult writeOnFrom(AppState& state, RecordFile& file, qint64 offset, const QByteArray& bytes,
                       qint64* done) {
    return retryLockedStep(state, [&] {
        qint64 written = 0;
        const FileResult result =
            file.writeAt(offset + *done, bytes.constData() + *done, bytes.size() - *done, &written);
        *done += written;
        return result;
    });
}

// Moves the records behind record `number` up one place. A move the disk stops part way
// is carried on; when it cannot be, what went is put back, so the file is as it was
// (DeletionStage::Torn when even that fails).
FileResult moveUp(AppState& state, RecordFile& file, qint64 number, const QByteArray& tail,
                  const ResultRecordBytes& removed, RecordDeletion* removal) {
    const qint64 at = (number - 1) * recordSize;
    qint64 moved = 0;
    const FileResult result = writeOnFrom(state, file, at, tail, &moved);
    if (result.ok() || moved == 0) {
        return result;
    }
    const QByteArray before = (QByteArray(removed.data(), recordSize) + tail).left(moved);
    qint64 putBack = 0;
    if (!writeOnFrom(state, file, at, before, &putBack).ok()) {
        removal->stage = DeletionStage::Torn;
    }
    return result;
}

// Removes record `number` from the open, locked file when it still holds the listed bytes.
// The steps are ordered so that a stop anywhere leaves every record at least once: the move
// up is made durable before the cut, so what a stop can leave is the last record twice.
FileResult removeRecord(AppState& state, RecordFile& file, qint64 number,
                        const ResultRecordBytes& bytes, RecordDeletion& removal) {
    qint64 whole = 0;
    FileResult result = checkRecord(file, number, bytes, &whole, &removal.same);
    if (!result.ok() || !removal.same) {
        return result;
    }
    result = cutLastTwin(state, file, &whole, &removal.twinCut);
    if (!result.ok()) {
        return result;
    }
    removal.wholeRecords = whole;
    if (removal.twinCut && number >= whole) {
        // One of the two equal last records was chosen: cutting the second removed it.
        removal.twinCut = false;
    } else {
        const qint64 behind = whole - number;
        if (behind > 0) {
            QByteArray tail(behind * recordSize, Qt::Uninitialized);
            qint64 got = 0;
            result = file.readAt(number * recordSize, tail.data(), tail.size(), &got);
            if (result.ok() && got != tail.size()) {
                result = FileResult::failure(
                    0, QStringLiteral("成績ファイルを最後まで読めませんでした。"));
            }
            if (result.ok()) {
                result = moveUp(state, file, number, tail, bytes, &removal);
            }
            if (!result.ok()) {
                return result;
            }
            removal.stage = DeletionStage::LastTwice;
            result = retryLockedStep(state, [&] { return file.flushToDisk(); });
            if (!result.ok()) {
                return result;
            }
        }
        result = retryLockedStep(state, [&] { return file.truncateTo((whole - 1) * recordSize); });
        if (!result.ok()) {
            return result;
        }
    }
    removal.stage = DeletionStage::Unconfirmed;
    result = retryLockedStep(state, [&] { return file.flushToDisk(); });
    if (result.ok()) {
        removal.stage = DeletionStage::Done;
    }
    return result;
}

const QString twinCutText = QStringLiteral("前の消去が途中で止まって二つ続いていた最後のレコード"
                                           "は、一つにしました。");

const QString movedText = QStringLiteral("このレコードは、ほかのパソコンで変更されたか消去されて"
                                         "います。一覧を読み直しました。");

// What went wrong, the file it went wrong on and the system's own number for it.
QString failureText(const AppState& state, const QString& lead, const FileResult& result) {
    QString text = lead + QLatin1Char('\n') + QDir::toNativeSeparators(resultsFilePath(state)) +
                   QLatin1Char('\n') + result.description;
    if (result.errorNumber != 0) {
        text += QStringLiteral("（エラー番号 %1）").arg(result.errorNumber);
    }
    return text;
}

// A number's text right-aligned in a fixed-width column: a longer one keeps its last
// characters, so the columns after it stay where they are.
QString rightField(const QString& text, int width) {
    return text.rightJustified(width).right(width);
}

} // namespace

QString listedName(const QString& name) {
    QString filled = name + QString(6, fullWidthSpace);
    qsizetype keep = 6;
    // Never half a character: a name with characters outside the basic plane keeps the
    // whole character and one fewer.
    if (filled.at(keep - 1).isHighSurrogate()) {
        --keep;
    }
    return filled.left(keep);
}

QString recordListLine(qint64 number, const ResultRecord& record, const QString& pupilName,
                       const QString& gradeLabel, const QString& schoolText) {
    const QString date = dateOfDayNumber(record.runDate).toString(QStringLiteral("yyyy/MM/dd"));
    const QString time = timeOfDayFraction(record.runClock).toString(QStringLiteral("h:mm:ss"));
    QString line = rightField(QString::number(number), 4);
    line += QLatin1Char(' ') + date + fullWidthSpace + rightField(time, 9);
    line += QStringLiteral("ﾚﾍﾞﾙ") + QString::number(record.level) + fullWidthSpace;
    line += rightField(QString::number(record.seconds), 5) + QStringLiteral("秒 ") + fullWidthSpace;
    line += rightField(QString::number(record.pupilNo), 4) + QLatin1Char(' ') +
            listedName(pupilName) + QLatin1Char(' ') + gradeLabel + QStringLiteral("++") +
            schoolText;
    return line;
}

std::optional<int> secondsOfText(const QString& text) {
    if (!startsWithNumber(text)) {
        return std::nullopt;
    }
    const double value = std::nearbyint(lenientNumber(text)); // halves go to the even one
    if (!(value >= 0 && value <= RecordMaintenance::maxSeconds)) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

RecordMaintenance::RecordMaintenance(AppState& state)
    : state_(state), names_(Statistics::pupils), grades_(Statistics::pupils) {}

void RecordMaintenance::readRoster() {
    std::fill(names_.begin(), names_.end(), QString());
    std::fill(grades_.begin(), grades_.end(), QString());
    chooser_.clear();
    const RosterReport report =
        loadRoster(state_, {}, [this](const RosterEntry& entry, int gradeIndex) {
            const auto no = static_cast<std::size_t>(entry.pupilNo);
            names_[no] = trimBlanks(entry.name);
            grades_[no] = fullGradeLabel(gradeIndex);
            chooser_ << QString::number(entry.pupilNo) + QStringLiteral(" /  ") + names_[no];
        });
    if (!report.fileError.isEmpty() && !rosterFailureShown_) {
        rosterFailureShown_ = true;
        refuse(report.fileError + QStringLiteral("\n生徒の名前と学年は空で表示します。"));
    }
}

void RecordMaintenance::refuse(const QString& text) {
    showMessage(state_, nullptr, kTitle, text, MessageButtons::Ok, MessageIcon::Warning);
}

void RecordMaintenance::tell(const QString& text) {
    showMessage(state_, nullptr, kTitle, text, MessageButtons::Ok, MessageIcon::Information);
}

bool RecordMaintenance::buildList() {
    readRoster();
    lines_.clear();
    listed_.clear();
    totalRecords_ = 0;
    const QString school = state_.config.schoolName;
    const QString code = state_.config.schoolCode;
    int missing = 0;
    const FileResult result = retryFileStep(state_, missing, [&] {
        lines_.clear();
        listed_.clear();
        return scanResultsTail(
            state_, -1,
            [&](qint64 firstNumber, const char* bytes, qint64 count) {
                for (qint64 i = 0; i < count; ++i) {
                    const char* at = bytes + i * recordSize;
                    const ResultRecord record = decodeResultRecord(at);
                    if (record.level == 0) {
                        continue; // never written by the program: not listed
                    }
                    Listed entry;
                    entry.number = firstNumber + i;
                    std::memcpy(entry.bytes.data(), at, recordSize);
                    listed_.push_back(entry);
                    const bool ours = record.schoolCodeText() == code;
                    lines_ << recordListLine(entry.number, record, pupilName(record.pupilNo),
                                             gradeLabel(record.pupilNo),
                                             ours ? school : QStringLiteral("他塾"));
                }
            },
            &totalRecords_);
    });
    if (!result.ok()) {
        lines_.clear();
        listed_.clear();
        totalRecords_ = 0;
        refuse(failureText(state_, QStringLiteral("成績ファイルを読めませんでした。"), result));
        return false;
    }
    return true;
}

QString RecordMaintenance::totalText() const {
    return QStringLiteral("総レコード数:") + QString::number(totalRecords_);
}

qint64 RecordMaintenance::recordOfLine(int line) const {
    const std::optional<Listed> listed = listedAt(line);
    return listed ? listed->number : 0;
}

int RecordMaintenance::lineOfRecord(qint64 number) const {
    for (std::size_t i = 0; i < listed_.size(); ++i) {
        if (listed_[i].number == number) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

QString RecordMaintenance::pupilName(int pupilNo) const {
    return Statistics::validCell(0, pupilNo) ? names_[static_cast<std::size_t>(pupilNo)]
                                             : QString();
}

QString RecordMaintenance::gradeLabel(int pupilNo) const {
    return Statistics::validCell(0, pupilNo) ? grades_[static_cast<std::size_t>(pupilNo)]
                                             : QString();
}

QString RecordMaintenance::gradeLabelOfChooser(const QString& chooserText) const {
    const std::optional<int> pupil = pupilOfChooser(chooserText);
    return pupil ? gradeLabel(*pupil) : QString();
}

std::optional<int> RecordMaintenance::pupilOfChooser(const QString& chooserText) const {
    const qsizetype slash = chooserText.indexOf(QLatin1Char('/'));
    const QString head = slash >= 0 ? chooserText.left(slash) : chooserText;
    std::optional<int> pupil;
    if (startsWithNumber(head)) {
        pupil = lenientInt(head);
    } else if (slash < 0) {
        // A typed-in name: it stands for a pupil only when exactly one roster line has it.
        const QString name = chooserText.trimmed();
        for (int no = 0; no < Statistics::pupils && !name.isEmpty(); ++no) {
            if (names_[static_cast<std::size_t>(no)] == name) {
                if (pupil) {
                    return std::nullopt;
                }
                pupil = no;
            }
        }
    }
    if (pupil && !Statistics::validCell(0, *pupil)) {
        return std::nullopt;
    }
    return pupil;
}

std::optional<RecordMaintenance::Listed> RecordMaintenance::listedAt(int line) const {
    if (line < 0 || line >= static_cast<int>(listed_.size())) {
        return std::nullopt;
    }
    return listed_[static_cast<std::size_t>(line)];
}

std::optional<OpenedRecord> RecordMaintenance::openRecord(int line) {
    const std::optional<Listed> listed = listedAt(line);
    if (!listed) {
        return std::nullopt;
    }
    const qint64 number = listed->number;
    const ResultRecordBytes& listedBytes = listed->bytes;
    bool same = false;
    int missing = 0;
    const FileResult result = retryFileStep(state_, missing, [&] {
        RecordFile file;
        FileResult r = openResultsFile(state_, file, RecordFile::Access::Read);
        qint64 whole = 0;
        return r.ok() ? checkRecord(file, number, listedBytes, &whole, &same) : r;
    });
    if (!result.ok()) {
        refuse(failureText(state_, QStringLiteral("成績ファイルを読めませんでした。"), result));
        return std::nullopt;
    }
    if (!same) {
        opened_.reset();
        buildList();
        refuse(movedText);
        return std::nullopt;
    }
    OpenedRecord opened;
    opened.number = number;
    opened.bytes = listedBytes;
    opened.record = decodeResultRecord(listedBytes.data());
    const ResultRecord& r = opened.record;
    opened.levelText = QString::number(r.level) + QStringLiteral("ﾚﾍﾞﾙ");
    opened.dateText = dateOfDayNumber(r.runDate).toString(QStringLiteral("yyyy/MM/dd"));
    opened.gradeLabel = gradeLabel(r.pupilNo);
    opened.secondsText = QString::number(r.seconds);
    opened.chooserText = QString::number(r.pupilNo) + QStringLiteral(" /  ") + pupilName(r.pupilNo);
    opened_ = opened;
    return opened_;
}

int RecordMaintenance::rewriteRecord(const QString& secondsText, const QString& chooserText) {
    if (!opened_) {
        return -1;
    }
    const std::optional<int> seconds = secondsOfText(secondsText);
    if (!seconds) {
        refuse(QStringLiteral("秒数は 0～%1 の数で入れてください。").arg(maxSeconds));
        return -1;
    }
    const std::optional<int> pupil = pupilOfChooser(chooserText);
    if (!pupil) {
        refuse(QStringLiteral("生徒が見つかりません。一覧から選ぶか、番号を入れてください。"));
        return -1;
    }
    ResultRecord changed = opened_->record;
    changed.seconds = *seconds;
    changed.pupilNo = static_cast<std::int16_t>(*pupil);
    const ResultRecordBytes bytes = encodeResultRecord(changed);
    qint64 number = opened_->number;
    bool same = false;
    bool twinCut = false;
    int missing = 0;
    const FileResult result = retryFileStep(state_, missing, [&] {
        twinCut = false;
        return changeUnderLock(state_, [&](RecordFile& file) {
            qint64 whole = 0;
            FileResult r = checkRecord(file, number, opened_->bytes, &whole, &same);
            if (r.ok() && same) {
                r = cutLastTwin(state_, file, &whole, &twinCut);
            }
            if (!r.ok() || !same) {
                return r;
            }
            // The second of two equal last records is gone: the first is the same record.
            number = std::min(number, whole);
            return file.writeAt((number - 1) * recordSize, bytes.data(), recordSize);
        });
    });
    const QString twin = twinCut ? twinCutText : QString();
    if (!result.ok()) {
        if (twinCut) {
            opened_.reset();
            buildList();
        }
        refuse(failureText(state_, QStringLiteral("成績ファイルを変更できませんでした。") + twin,
                           result));
        return -1;
    }
    buildList();
    if (!same) {
        opened_.reset();
        refuse(movedText);
        return -1;
    }
    if (twinCut) {
        tell(twin);
    }
    opened_->number = number;
    opened_->record = changed;
    opened_->bytes = bytes;
    return lineOfRecord(number);
}

std::optional<int> RecordMaintenance::deleteLine(int line) {
    const std::optional<Listed> listed = listedAt(line);
    if (!listed) {
        return std::nullopt;
    }
    RecordDeletion removal;
    int missing = 0;
    const FileResult result = retryFileStep(state_, missing, [&] {
        removal = RecordDeletion{};
        return withResultsFileLocked(state_, [&](RecordFile& file) {
            return asFinal(removeRecord(state_, file, listed->number, listed->bytes, removal));
        });
    });
    const bool gone = removal.stage != DeletionStage::NotBegun;
    if (gone || removal.twinCut) {
        opened_.reset();
    }
    // The screen shows what the file holds, whatever happened to it.
    buildList();
    if (result.ok() && !removal.same) {
        refuse(movedText);
        return std::nullopt;
    }
    const QString text = deletionText(listed->number, removal, result);
    if (!text.isEmpty()) {
        result.ok() ? tell(text) : refuse(text);
    }
    if (!gone) {
        return std::nullopt;
    }
    const int count = static_cast<int>(lines_.size());
    return line < count ? line : count - 1;
}

QString RecordMaintenance::deletionText(qint64 number, const RecordDeletion& removal,
                                        const FileResult& result) const {
    const QString twin = removal.twinCut ? twinCutText : QString();
    if (result.ok()) {
        return twin;
    }
    QString lead;
    switch (removal.stage) {
    case DeletionStage::NotBegun:
        lead = QStringLiteral("成績ファイルのレコードを消去できませんでした。");
        if (!removal.twinCut) {
            lead += QStringLiteral("ファイルは元のままです。");
        }
        break;
    case DeletionStage::Torn:
        lead = QStringLiteral("成績ファイルのレコード %1 を消去できず、元に戻すこともできません"
                              "でした。レコード %1 から後ろの一部が一つ前にずれています。"
                              "mirunea --check で確かめてください。")
                   .arg(number);
        break;
    case DeletionStage::LastTwice:
        lead = QStringLiteral("レコード %1 を消去しました。ただし、ファイルの整理が途中で止まった"
                              "ため、最後のレコードが二つ続いています（レコード %2 と %3）。次に"
                              "レコードを消去するか変更すると、二つめは取り除かれます。")
                   .arg(number)
                   .arg(removal.wholeRecords - 1)
                   .arg(removal.wholeRecords);
        break;
    case DeletionStage::Unconfirmed:
    case DeletionStage::Done:
        lead = QStringLiteral("レコード %1 を消去しました。ただし、ディスクに書き込まれたことを"
                              "確かめられませんでした。")
                   .arg(number);
        break;
    }
    return failureText(state_, lead + twin, result);
}
