#pragma once

#include "records/RecordFile.h"
#include "records/ResultRecord.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

struct AppState;

// The teacher's record maintenance: the list of every record of the results file, and
// the two changes a teacher may make to it (a record's seconds and pupil, or its removal).
// The file is shared with the classroom PCs, which append to it under its exclusive lock:
// every change is made while holding that lock, in place, so a record another copy
// appends is never lost and the file is never missing or cut short.
//
// Failures are shown as messages ("注意") and leave the file as it was; the program goes on.

// The list line of record number n, as the teacher reads it.
QString recordListLine(qint64 number, const ResultRecord& record, const QString& pupilName,
                       const QString& gradeLabel, const QString& schoolText);

// A name as the list shows it: filled with full-width spaces and cut to 6 characters.
QString listedName(const QString& name);

// The numeric value of the seconds box, rounded to a whole number (halves to even);
// nothing when it is not a number of 0..99999.
std::optional<int> secondsOfText(const QString& text);

// What the edit panel shows of an opened record.
struct OpenedRecord {
    qint64 number = 0;
    ResultRecord record;
    ResultRecordBytes bytes{}; // as read, to see whether it is still there when written
    QString levelText;         // level & "ﾚﾍﾞﾙ"
    QString dateText;          // yyyy/mm/dd
    QString gradeLabel;
    QString secondsText;
    QString chooserText; // pupilNo & " /  " & name
};

// How far a deletion came, which is what the results file holds afterwards.
enum class DeletionStage {
    NotBegun,    // the file is as it was (records moved part way were put back)
    Torn,        // the records behind were moved up part way and could not be put back
    LastTwice,   // the record is gone; the last record stands twice until it is cut off
    Unconfirmed, // the deletion is complete; the disk did not confirm that it keeps it
    Done,
};

struct RecordDeletion {
    bool same = false;       // the record still stood where the list showed it
    bool twinCut = false;    // a last record left twice by an earlier deletion went too
    qint64 wholeRecords = 0; // records in the file before the deletion's cut
    DeletionStage stage = DeletionStage::NotBegun;
};

class RecordMaintenance {
public:
    static constexpr int maxSeconds = 99999; // a timed-out run holds 99999

    explicit RecordMaintenance(AppState& state);

    // Reads the roster and the whole results file and fills the list. False (after a
    // message) when the results file could not be read; the list is then empty.
    bool buildList();

    qint64 totalRecords() const { return totalRecords_; }
    QString totalText() const;
    const QStringList& lines() const { return lines_; }
    // The record number shown on a list line (0-based line), 0 outside the list.
    qint64 recordOfLine(int line) const;
    // The line of a record number; -1 when it is not listed.
    int lineOfRecord(qint64 number) const;

    const QStringList& chooserEntries() const { return chooser_; }
    // The trimmed name and the grade label of a pupil number; empty outside the roster.
    QString pupilName(int pupilNo) const;
    QString gradeLabel(int pupilNo) const;
    // The grade label of the pupil a chooser entry names (empty when it names none).
    QString gradeLabelOfChooser(const QString& chooserText) const;
    // The pupil number a chooser text stands for: the number in front of its "/", or for a
    // text without one a bare number or a roster name; nothing when neither is found.
    std::optional<int> pupilOfChooser(const QString& chooserText) const;

    // Reads the record of a list line for editing; nothing (after a message) when it
    // cannot be read.
    std::optional<OpenedRecord> openRecord(int line);
    const std::optional<OpenedRecord>& openedRecord() const { return opened_; }

    // Writes the open record back at its own place with the seconds and the pupil of the
    // texts, every other byte as read, then rebuilds the list. Returns the line to select,
    // or -1 when nothing was written (a message says why). When the record had changed
    // in the file meanwhile, it is closed and the list read again.
    int rewriteRecord(const QString& secondsText, const QString& chooserText);

    // Removes the record of a list line from the file, under the file's lock, in place:
    // the records behind it move up one place and the file is cut by one record. A last
    // record left twice by an interrupted deletion goes as well (so does it with a
    // change). Once the records have moved, the deletion is carried through: a cut or
    // flush the disk refuses is tried again with the lock kept, and if it still fails the
    // teacher is told what the file holds. The list is rebuilt from the file whatever
    // happened. Returns the line to select afterwards (-1 for an empty list), or nothing
    // when the record is still there (a message says why). The open record, if any, is
    // closed when the file changed: the numbers behind the removed record have moved.
    std::optional<int> deleteLine(int line);

private:
    struct Listed {
        qint64 number = 0;
        ResultRecordBytes bytes{};
    };

    // The record a list line shows, with its bytes as listed; nothing outside the list.
    std::optional<Listed> listedAt(int line) const;
    void readRoster();
    void refuse(const QString& text);
    void tell(const QString& text);
    // What the teacher is told after a deletion that did not simply succeed; empty when
    // there is nothing to tell.
    QString deletionText(qint64 number, const RecordDeletion& removal,
                         const FileResult& result) const;

    AppState& state_;
    std::vector<QString> names_;
    std::vector<QString> grades_;
    QStringList chooser_;
    qint64 totalRecords_ = 0;
    QStringList lines_;
    std::vector<Listed> listed_;
    std::optional<OpenedRecord> opened_;
    bool rosterFailureShown_ = false; // a missing roster is told once per screen
};
