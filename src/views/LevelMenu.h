#pragma once

#include "app/Screen.h"
#include "views/LevelRules.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListView;
class QProgressBar;
class QRadioButton;
class QStringListModel;
class PersonalPanel;
struct RankingRoster;
enum class RunList;
enum class ResultBuild;
class QPushButton;
class QScrollBar;

struct AppState;

// Creates the level menu afresh and shows it in the program's window.
void openLevelMenu(AppState& state);

// The level menu: the pupil's home screen with one column per offered level, the
// header, the wait panel and the teacher panel, and under the columns the result lists:
// today's runs, every run of a period, the rankings by time and by points, and the
// personal views.
//
// Controls ((i): one per level column, named "<name>_<i>"):
//   name          caption                what it does
//   Label11       the program's title    -
//   Label12       grade and name         who is working
//   Label13       school, pupil number   -
//   Label17       "起動後N分"            minutes since the name was picked
//   Label18       "本日総回数＝N回"      the pupil's runs today
//   Combo1        a grade                grade filter of the lists: gradeSelectorChanged
//   Combo2        "１ヶ月間の全成績"     period of the all-results list: periodChosen
//   Command1      "戻る(0)"              back to the name list: goBack
//   Command8      "データ処理"           the teacher panel (teacher only): openTeacherPanel
//   Command27     "印刷"                 the worksheet (teacher, when printing is on)
//   HScroll1      -                      scrolls the columns (five levels or more)
//   Label1(i)     the level number       -
//   Label3(i)     the level's name       a click starts the level: startLevel
//   Command4(i)   "ｽﾀｰﾄ(i)"              starts the level (also key i, Alt+i): startLevel
//   Command30(i)  "★解説★"             the level's explanation (media/ExplanationButton.h)
//   Label7(i)     "目標=N秒 ..."         the level's criteria
//   Label8(i)     "最近N日=..."          the pupil's recent figures
//   Label9(i)     "今日"                 caption of Label14(i): today's "N回/N点"
//   Label10(i)    "今まで"               caption of Label15(i): all-time "N回/N点"
//   Text1(i)      "やりすぎ禁止"         over-practice banner over the start button
//   List5(i)      result lines           the level's result list
//   Label5        "ベスト成績" ...       title of the lists
//   Option2(0..2) "ﾀｲﾑ表示" ...          times, points, own times (in Picture5): Option2_Click
//   Option1(1..3) "BEST表示" ...         best, today, all (in Picture1): Option1_Click
//   Command17     "グラフ"               the result graph (own times only)
//   Picture11     -                      the personal panel (views/PersonalPanel.h)
//   Picture6      "Just a momento, ..."  covers the lists while they are built
//   Picture2      "Just a moment, ..."   wait panel while the menu is built or a run starts
//   Picture7      "KeyPassの場所"        teacher panel: key folder Text2, Command10(0)
//                                        "データ変更" and Command10(1) "合格タイムデータ変更"
//                                        (passGate), Command12 "戻る"
// The hidden list builders keep their handlers: Command5_Click (today), Command6_Click
// (best), Command7_Click (all), Command16_Click (own times).
class seisekitime1 : public Screen {
    Q_OBJECT
public:
    explicit seisekitime1(AppState& state, QWidget* parent = nullptr);

    // The refresh on coming to the front: recounts the results, fills every figure and
    // applies the opening rules.
    void activate() override;
    QString caption() const override;

    // Keys are accepted only while this is true (not while building or starting).
    bool menuReady() const { return menuReady_; }
    int columnWidth() const { return columnWidth_; }
    int firstVisibleColumn() const { return firstVisibleColumn_; }

    enum class StartFrom { Button, Key, NameLabel };
    void startLevel(int level, StartFrom from);
    void goBack();

    // The result views. The option buttons choose what is shown (Option2: times, points,
    // the pupil's own times) and which runs (Option1: best, today, all); the hidden
    // buttons' operations build one kind of list.
    void Option1_Click(int index);
    void Option2_Click(int index);
    void Command5_Click();  // today's list
    void Command6_Click();  // the best view: the rankings by best time
    void Command7_Click();  // every run of the period Combo2 names
    void Command16_Click(); // the pupil's own times
    void levelRanking(int level);
    int displayKind() const { return displayKind_; }
    int pointsPeriod() const { return pointsPeriod_; }
    PersonalPanel* personalPanel() const { return Picture11_; }
    // The lines List5(level) shows.
    QStringList listLines(int level) const;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Column {
        QLabel* Label1 = nullptr;         // the level number
        QLabel* Label3 = nullptr;         // the level's name; a click starts it
        QPushButton* Command4 = nullptr;  // ｽﾀｰﾄ(i)
        QPushButton* Command30 = nullptr; // ★解説★, when the level has an explanation
        QLabel* Label7 = nullptr;         // criteria line
        QLabel* Label8 = nullptr;         // recent figures
        QLabel* Label9 = nullptr;         // "今日"
        QLabel* Label10 = nullptr;        // "今まで"
        QLabel* Label14 = nullptr;        // today's figures
        QLabel* Label15 = nullptr;        // all-time figures
        QLabel* Text1 = nullptr;          // "やりすぎ禁止"
        QListView* List5 = nullptr;       // the level's result list
        QStringListModel* List5Lines = nullptr;
    };

    void buildHeader();
    void buildColumns();
    void buildWaitPanel();
    void buildTeacherPanel();
    void fillColumn(int level);
    void placeColumns();
    void placeColumn(int level, int x);
    void showWaitPanel();
    void hideWaitPanel();
    bool handleMenuKey(const QString& text);
    bool handleKeyPress(QKeyEvent* event);
    bool refusesLevelTimes(int level);
    // Paints and lets waiting window events run, as one operation of the screen.

    void openTeacherPanel();
    // Opens the teacher panel with the numbers of the records the counts skip.
    void showDamagedNotice();
    void passGate(int editor);

    void buildResultViews();
    void buildLevelList(int level);
    void showDefaultResultView();
    void applyOpening();
    void clearLevelLists();
    void setLevelLines(int level, const QStringList& lines);
    void beginBuild(bool fromOption2);
    void finishBuild();
    void levelRankings(int period, bool countOnWaitPanel);
    void levelRankingWith(const RankingRoster& roster, int level);
    void hidePracticeLevel(int level);
    // Builds and shows the list the options chose (views/ResultViewChoice.h).
    void showRuns(ResultBuild build);
    void gradeSelectorChanged();
    void periodChosen(int index);
    bool readRunLists(RunList list);

    QLabel* label(const QString& name, const QString& text = QString());
    QPushButton* button(const QString& name, const QString& text);

    std::vector<Column> columns_;      // element 0 is never shown
    QLabel* Label11_ = nullptr;        // title
    QLabel* Label12_ = nullptr;        // grade and name
    QLabel* Label13_ = nullptr;        // school and pupil number
    QLabel* Label17_ = nullptr;        // minutes since the name was picked
    QLabel* Label18_ = nullptr;        // today's runs
    QComboBox* Combo1_ = nullptr;      // grade filter of the result views
    QComboBox* Combo2_ = nullptr;      // period of the all-results list (hidden)
    QPushButton* Command1_ = nullptr;  // 戻る(0)
    QPushButton* Command8_ = nullptr;  // データ処理
    QPushButton* Command27_ = nullptr; // 印刷
    QScrollBar* HScroll1_ = nullptr;
    QFrame* Picture2_ = nullptr; // wait panel
    QProgressBar* ProgressBar1_ = nullptr;
    QLabel* Label19_ = nullptr;
    QFrame* Picture7_ = nullptr; // teacher panel
    QLineEdit* Text2_ = nullptr;
    QLabel* Label23_ = nullptr; // the teacher's notice of skipped records

    QLabel* Label5_ = nullptr;               // the lists' title
    QFrame* Picture1_ = nullptr;             // which runs
    std::array<QRadioButton*, 4> Option1_{}; // 1 BEST表示, 2 本日のみ, 3 オール表示
    QFrame* Picture5_ = nullptr;             // what is shown
    std::array<QRadioButton*, 3> Option2_{}; // 0 ﾀｲﾑ表示, 1 ﾎﾟｲﾝﾄ表示, 2 個人ﾀｲﾑ
    QFrame* Picture6_ = nullptr;             // list-building panel
    QProgressBar* ProgressBar2_ = nullptr;
    QLabel* Label21_ = nullptr;
    QPushButton* Command17_ = nullptr;   // グラフ
    PersonalPanel* Picture11_ = nullptr; // the personal panel
    int displayKind_ = 0;                // 1 times, 2 points
    int pointsPeriod_ = 0;               // 1 all-time points, 2 today's points
    bool displayOptionsMuted_ = false;

    QString keyFolderAtOpen_;
    bool damagedNoticeShown_ = false;
    bool menuReady_ = false;
    int columnWidth_ = 0;
    int firstVisibleColumn_ = 1;
};
