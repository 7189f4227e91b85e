#pragma once

#include "app/Screen.h"

#include <QStringList>
#include <array>

class QButtonGroup;
class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

// The name list: the first screen a pupil sees and the one the level menu returns to.
// The pupil picks their own name (narrowed to a grade if they like) and goes on to the
// level menu, or leaves for the launcher of the drill family.
//
// Controls:
//   name        caption                          what it does
//   Label4      the program's title              a click opens the version dialog: openVersion
//   List1       header and one line per pupil    a line names the pupil: selectLine; a
//                                                double-click or Enter goes on: confirm
//   Combo1      a grade ("全学年" ...)           narrows the list to a grade: chooseGrade
//   Option1(0..3)  "回数(今日／今まで）" ...      what the figures of the list are: chooseMode
//   Label1      the chosen name or the prompt    who will work
//   Label2      (hidden) the pupil number        -
//   Command14   "O.K."                           to the level menu (key 1): confirm
//   Command7    "ﾌﾟﾟﾛｸﾞﾗﾑメニューへ(0)"           to the launcher (key 0): leave
//   Command1    "印刷"                           the worksheet, when printing is offered
//   Picture5    "Just a moment, please."         covers the screen while it works
class StudentSelection : public Screen {
    Q_OBJECT
public:
    explicit StudentSelection(AppState& state, QWidget* parent = nullptr);

    // Runs each time the screen becomes the active one: the print button, display mode 1,
    // the grade choices, the prompt.
    void activate() override;
    QString caption() const override;

    // Rebuilds the name list from the roster and the recounted results.
    void 名簿表示();
    // O.K.: hands the chosen pupil on to the level menu, or sounds the wrong-answer cue
    // when no name is chosen.
    void confirm();
    // Leaves for the launcher and ends the program.
    void leave();

    int rosterDisplayMode() const { return rosterDisplayMode_; }
    // Per pupil line of List1 (the header excluded): the line, "*", the pupil number.
    const QStringList& numberList() const { return numberList_; }

    QLabel* Label4 = nullptr;               // the program title; a click opens the version dialog
    QListWidget* List1 = nullptr;           // the pupils, in a fixed-pitch font
    QComboBox* Combo1 = nullptr;            // grade filter
    std::array<QRadioButton*, 4> Option1{}; // display modes
    QLabel* Label1 = nullptr;               // the chosen name, or the prompt
    QLabel* Label2 = nullptr;               // (hidden) the chosen pupil number
    QPushButton* Command14 = nullptr;       // "O.K."
    QPushButton* Command7 = nullptr;        // "ﾌﾟﾟﾛｸﾞﾗﾑメニューへ(0)"
    QPushButton* Command1 = nullptr;        // "印刷", shown only when printing is offered
    QFrame* Picture5 = nullptr;             // the wait panel covering the screen
    QLabel* Label19 = nullptr;              // "Just a moment, please."

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void placeControls();
    void selectLine(int row);
    void chooseMode(int mode);
    void chooseGrade(int index);
    void openVersion();
    bool handleKey(QObject* watched, QKeyEvent* event);
    void setWaiting(bool waiting);
    void letEventsRun();

    QButtonGroup* modeGroup_ = nullptr;
    int rosterDisplayMode_ = 0;
    QStringList numberList_;
    QStringList choices_;
    QString lastReport_; // the roster problems already shown by this screen
    bool busy_ = false;
};

// Creates the name list afresh and makes it the current screen; a second copy of the
// program is refused here and ends.
void openStudentSelection(AppState& state);
