#pragma once

#include "app/Screen.h"
#include "views/LevelRules.h"

#include <QString>
#include <vector>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QScrollBar;

struct AppState;

// Creates the level menu afresh and shows it in the program's window.
void openLevelMenu(AppState& state);

// The level menu: the pupil's home screen with one column per offered level, the
// header, the wait panel and the teacher panel. The result lists of the lower part are
// added by the result views.
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
    void letEventsRun();

    void openTeacherPanel();
    void passGate(int editor);

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

    QString keyFolderAtOpen_;
    bool menuReady_ = false;
    int columnWidth_ = 0;
    int firstVisibleColumn_ = 1;
};
