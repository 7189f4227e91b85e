#pragma once

#include "views/GraphPicture.h"
#include "views/LevelFigures.h"
#include "views/Rankings.h"

#include <QFrame>
#include <array>
#include <functional>

class QLabel;
class QListWidget;
class QPushButton;
class TwipsLayout;
struct AppState;

// The level menu's personal panel "Picture11": the pupil chooser, the level chooser, the
// chart buttons and the drawing surface of the result graph. Hidden until the graph
// shows it; its back button hides it again.
//
// Controls:
//   name             caption                 what it does
//   Command25        "他の人のデータを見る"   shows the pupil chooser: showPupilChooser
//   List2            the pupils              a click charts those chosen: chosenPupilsCommand
//   Label27          "ﾚﾍﾞﾙ"                  -
//   List3            the levels              the levels charted
//   Command21(0..1)  "表示" "印刷"           the pupil's charts on screen, on paper: sheetCommand
//   Command24(0..1)  "表示" "印刷"           the chosen pupils' charts: chosenPupilsCommand
//   Command18        "戻る"                  hides the panel
//   Picture12        -                       the charts' drawing surface
//   List4(0..2)      -                       work lists of the rankings, never shown
class PersonalPanel : public QFrame {
    Q_OBJECT
public:
    PersonalPanel(AppState& state, TwipsLayout& layout, QWidget* parent);

    // Fills the level chooser with "1" .. levelCount and the pupil chooser from the
    // roster; the current pupil becomes selectedPupil and level 1 summaryLevel.
    void preparePersonalTimes();

    // The chart operations of the result graph.
    void graphCommand();                 // "グラフ": the current pupil, levels 1 to 3
    void sheetCommand(int index);        // Command21: 0 on screen, 1 on paper
    void chosenPupilsCommand(int index); // Command24: the pupils chosen in List2

    // Command25: shows the pupil chooser in its place.
    void showPupilChooser();

    // Fills the work list List4(workListKind) with summaryLevel's ranking and gives its lines.
    std::vector<RankedLine> levelWorkRanking();
    // Index 1: the time rank; index 0: the points rank, the pupil's points and the school's
    // points holders and sum; both of selectedPupil at summaryLevel, into levelFigures.
    void rankFigures(int index);

    // The grade selector's text and the points period, as the level menu holds them.
    std::function<RankingChoice()> rankingChoice;

    // The state the graph works from.
    int selectedPupil = 0;
    int summaryLevel = 0;
    int summaryLevelBase = 0;
    int workListKind = 0;
    std::array<LevelFigures, 31> levelFigures{}; // per level 0 .. 30
    double baseFontSize = 6;                     // points the charts on screen are scaled from

    QPushButton* Command25 = nullptr;        // 他の人のデータを見る
    QListWidget* List2 = nullptr;            // pupil chooser (multi-select)
    QListWidget* List3 = nullptr;            // level chooser (multi-select)
    std::array<QPushButton*, 2> Command24{}; // 表示, 印刷: the chosen pupils
    std::array<QPushButton*, 2> Command21{}; // 表示, 印刷: selectedPupil
    QPushButton* Command18 = nullptr;        // 戻る
    QLabel* Label27 = nullptr;               // ﾚﾍﾞﾙ
    GraphPicture* Picture12 = nullptr;       // the charts' drawing surface
    std::array<QListWidget*, 3> List4{};     // work lists 1 (time) and 2 (points), off screen

private:
    RankingChoice currentChoice() const;
    // The levels of the lines chosen in List3, in list order.
    std::vector<int> chosenLevels() const;
    // selectedPupil's figures at a level, from the work rankings.
    LevelFigures figuresAt(int level, int pupilNo);

    AppState& state_;
    TwipsLayout& layout_;
};
