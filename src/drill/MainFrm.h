#pragma once

#include "app/Screen.h"
#include "drill/DrillEngine.h"

#include <QColor>
#include <array>

class ArcArrow;
class QLabel;
class QPushButton;
class TimeBar;

// The drill screen: the top panel with the run's figures and time bar, the problem row
// with its hint, and the end panel. It shows the engine's display and forwards keys.
//
// Controls:
//   name              caption                    what it does
//   sPicture1         -                          top panel with the run's figures
//   sLabel2           the program's title        -
//   sLabel14, sLabel7 school, pupil              whose run it is
//   sLabel16(0..5)    "起動後" "分" "本日" "回目" "このレベル" "回目"   captions of the figures
//   sLabel13, sLabel12, sLabel11  figures        minutes, today's runs, runs at the level
//   sLabel8           the level's name           -
//   sLabel4, sLabel6, sLabel9  "残り" "問" N     the problems left
//   sLabel5, sLabel10 "タイム" N                 the run's clock
//   sShape5           -                          the time bar (target and limit)
//   Label5            "ミルネアにしなさい"         the problem's instruction
//   lblBunsuu(1..8)   terms, the answer boxes    the two ratios; the blank takes the answer
//   label9, Label6, Label2  ":" ":" "="          the ratios' signs
//   Label1(0..1), Image1(0..1), Image2(0..1)     the hint: factors and arrows
//   Commandkakunin2   "\"+\"を２回押しなさい"     shown after a wrong answer
//   Commandkakunin    "確認"                     acknowledges a wrong answer, as "+" twice
//   sPicture2         lblsss2 "時間切れ", lblsss1 "成績記録中"   the end panel
// Keys go to the engine (keyPressEvent): digits, space to submit, "+" twice.
class MainFrm : public Screen {
    Q_OBJECT
public:
    explicit MainFrm(AppState& state, QWidget* parent = nullptr);
    ~MainFrm() override;

    void activate() override;
    QString caption() const override;

    DrillEngine& engine() { return engine_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct LabelLook {
        QColor text;
        QColor background; // invalid: no background of its own
        bool border = false;
    };
    QLabel* addLabel(QWidget* parent, const QString& name, const QString& text, const QRect& twips,
                     double points, bool bold, const LabelLook& look, bool fitsText = false);
    static void setLook(QLabel* label, const LabelLook& look);
    ArcArrow* addArrow(const QString& name, int bulge, int head, const QRect& twips);

    void buildTopPanel();
    void buildProblemArea();
    void buildEndPanel();
    void showDisplay();
    void letEventsRun();

    DrillEngine engine_;
    QWidget* sPicture1_ = nullptr;
    QWidget* sPicture2_ = nullptr;
    std::array<QLabel*, 9> lblBunsuu_{};
    std::array<QLabel*, 2> Label1_{};
    std::array<ArcArrow*, 2> Image1_{};
    std::array<ArcArrow*, 2> Image2_{};
    QLabel* Commandkakunin2_ = nullptr;
    QPushButton* Commandkakunin_ = nullptr;
    QLabel* sLabel2_ = nullptr;
    QLabel* sLabel7_ = nullptr;
    QLabel* sLabel8_ = nullptr;
    QLabel* sLabel9_ = nullptr;
    QLabel* sLabel10_ = nullptr;
    QLabel* sLabel11_ = nullptr;
    QLabel* sLabel12_ = nullptr;
    QLabel* sLabel13_ = nullptr;
    QLabel* sLabel14_ = nullptr;
    QLabel* lblsss1_ = nullptr;
    QLabel* lblsss2_ = nullptr;
    TimeBar* timeBar_ = nullptr;
    QWidget* watchedWindow_ = nullptr;
    double titlePoints_ = 0;
};
