#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

// One record of "成績累積データ.dat": 44 bytes, little-endian.
//   0  8  runDate          64-bit float, day number (a whole number)
//   8  8  runClock         64-bit float, fraction of a day
//  16  2  pupilNo          16-bit signed
//  18  2  level            16-bit signed
//  20  4  seconds          32-bit signed, 99999 for a timed-out run
//  24  5  schoolCode       CP932, left-aligned, padded with spaces
//  29  5  spareText        five spaces
//  34  5  spareNumberText  "0" and four spaces
//  39  5  unused           zeros when we write; ignored when read
// The text fields and the unused bytes are kept as the bytes that stand in the file, so
// a record read and written back is unchanged byte for byte.
struct ResultRecord {
    static constexpr int size = 44;
    static constexpr int textWidth = 5;
    using TextBytes = std::array<char, textWidth>;

    double runDate = 0;
    double runClock = 0;
    std::int16_t pupilNo = 0;
    std::int16_t level = 0;
    std::int32_t seconds = 0;
    TextBytes schoolCode{' ', ' ', ' ', ' ', ' '};
    TextBytes spareText{' ', ' ', ' ', ' ', ' '};
    TextBytes spareNumberText{'0', ' ', ' ', ' ', ' '};
    TextBytes unused{};

    // The school code as text, padding included ("     " when the code was empty).
    QString schoolCodeText() const;
    // Stores a school code cut or padded to five bytes; false (and unchanged) when the
    // text holds a character CP932 cannot hold.
    bool setSchoolCode(const QString& code);

    // True for the levels (0..35) and pupil numbers (0..5000) the tables have room for;
    // anything else is a foreign or damaged record that every reader skips.
    bool fitsTables() const;

    bool operator==(const ResultRecord&) const = default;
};

using ResultRecordBytes = std::array<char, ResultRecord::size>;

// The value rule of the results file: why a record cannot stand for a run, or None. No
// copy of the program writes such a record; a damaged share or another program can.
enum class RecordFault {
    None,
    ForeignLevelOrPupil, // a level outside 1..35 or a pupil number outside 1..5000
    NegativeSeconds,     // a run cannot take less than no time
    BadDate,             // the run date is not a finite day number (NaN, an infinity)
    FutureDate,          // the run date lies after today
};
inline constexpr int recordFaultKinds = 5;

// The rule on the fields themselves (for readers that take the fields from the bytes);
// today is today's day number.
RecordFault recordFault(double runDate, int pupilNo, int level, std::int32_t seconds, double today);
RecordFault recordFault(const ResultRecord& record, double today);

// Whether the record is a run that every statistic, best time and result list takes:
// level 1..35, pupil 1..5000, seconds not negative, a finite run date not after today.
// Every reader that shows or sums runs asks this one predicate.
bool isUsableRecord(const ResultRecord& record, double today);

// What is wrong with the record, readable, Japanese, naming the value; empty for None.
QString recordFaultText(RecordFault fault, const ResultRecord& record);

ResultRecordBytes encodeResultRecord(const ResultRecord& record);
// bytes must hold at least ResultRecord::size bytes.
ResultRecord decodeResultRecord(const char* bytes);
