#pragma once

#include <QString>
#include <array>

// Everything the drill screen shows, as plain data. The engine writes it; the screen
// copies it onto its controls whenever the engine says it changed.
struct DrillDisplay {
    // The track of the time bar is this wide in twips; the bars are measured against it.
    static constexpr int trackWidth = 15015;

    // --- the problem area ---------------------------------------------------------------
    std::array<QString, 9> boxCaption{};     // lblBunsuu(1..8): terms 1..4, answers 5..8
    std::array<bool, 5> termOpaque{};        // term boxes 1..4: light green behind the blank
    std::array<bool, 9> answerVisible{};     // answer boxes 5..8: shown under a wrong blank
    std::array<QString, 2> hintCaption{};    // Label1(0) above the row, Label1(1) below
    std::array<bool, 2> hintVisible{};       //
    std::array<bool, 2> upperArrowVisible{}; // Image1(0) pointing right, Image1(1) left
    std::array<bool, 2> lowerArrowVisible{}; // Image2(0) pointing right, Image2(1) left
    bool confirmPromptVisible = false;       // Commandkakunin2
    QString remaining;                       // sLabel9: correct answers still needed

    // --- the top panel ---------------------------------------------------------------------
    QString title; // sLabel2
    double titlePoints = 16.8;
    QString schoolName;       // sLabel14
    QString pupilName;        // sLabel7
    QString levelName;        // sLabel8
    QString minutes;          // sLabel13: minutes since the name was chosen
    QString todayRun;         // sLabel12: the day's run number over all levels, or "－"
    QString levelRun;         // sLabel11: the day's run number at this level, or "－"
    QString elapsed;          // sLabel10: seconds on the clock
    double progressWidth = 0; // sShape2, in twips
    double targetWidth = 0;   // sShape3, in twips
    double minimumWidth = 0;  // sShape4, in twips

    // --- the end panel sPicture2 -------------------------------------------------------------
    bool endPanelVisible = false;
    bool timeUpShown = false;    // lblsss2 "時間切れ"
    bool recordingShown = false; // lblsss1 "成績記録中"
};
