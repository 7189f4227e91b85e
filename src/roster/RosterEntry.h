#pragma once

#include <QString>
#include <cstdint>

// One line of the roster file "新名簿.txt" as it was read.
struct RosterEntry {
    static constexpr int textWidth = 20; // the text fields are held padded to 20 characters

    std::int16_t pupilNo = 0;
    std::int16_t birthYear = 0;
    std::int16_t reservedNo1 = 0;
    std::int16_t reservedNo2 = 0;
    QString name;          // padded on the right with blanks to 20 characters
    QString reservedText1; // as name
    QString reservedText2; // as name
};
