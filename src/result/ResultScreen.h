#pragma once

#include "app/Screen.h"

#include <memory>

class QLabel;
class QPushButton;
class QFrame;
class ResultSession;

// FrmSyuuryou, the result screen ("終了"): the time, the points, a new best, the clear
// state of the run just recorded, with its sounds; after half a second the way back to
// the level menu and, when the rules allow, a retry of the same level.
//
// Controls:
//   name        caption                         what it does
//   Label15     the program's title             -
//   Label14     today's runs                    -
//   Label16     the level's name                -
//   Label13     runs at the level               -
//   Label17     the pupil's name                -
//   Label18     the time                        -
//   Label19     the points                      -
//   Label20     the record message (new best)   -
//   Label2      the clear state                 -
//   Picture1    -                               panel behind the buttons
//   Label1      "目標レベルクリア。おめでとう！"   shown when the level is cleared
//   Command4    "メニューへ"                    back to the level menu: command4Click
//   Command5    "もう一度"                      the same level again: command5Click
class FrmSyuuryou : public Screen {
    Q_OBJECT
public:
    explicit FrmSyuuryou(AppState& state, QWidget* parent = nullptr);
    ~FrmSyuuryou() override;

    void activate() override;
    QString caption() const override { return QStringLiteral("終了"); }

    const ResultSession& session() const { return *session_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void render(const struct ResultDisplay& display);
    void letEventsRun();
    void command4Click();
    void command5Click();

    std::unique_ptr<ResultSession> session_;
    QLabel* label15_;
    QLabel* label14_;
    QLabel* label16_;
    QLabel* label13_;
    QLabel* label17_;
    QLabel* label18_;
    QLabel* label19_;
    QLabel* label20_;
    QLabel* label2_;
    QFrame* picture1_;
    QLabel* label1_;
    QPushButton* command4_;
    QPushButton* command5_;
};

// Creates the result screen for the run just recorded and shows it in the top-level
// window, which runs its evaluation.
void openResultScreen(AppState& state);
