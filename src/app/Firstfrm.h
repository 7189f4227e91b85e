#pragma once

#include "app/Environment.h"

#include <QString>
#include <QWidget>
#include <memory>

class QLabel;
class SplashPicture;
struct AppState;

// The start-up window, the program's only entry. Loading it reseeds the random source,
// shows today's date, chooses the season colour and paints; 100 ms later its one-shot
// Timer1 runs startProgram and the splash closes.
//
// Controls:
//   name      caption                    what it does
//   Picture1  the artwork                -
//   Label5    today's date in the era    -
//   Label1    "Just a moment, please."   -
//   Label2    the credit line            (the member credit)
//   Timer1    100 ms, once               starts the program: Timer1_Timer
class Firstfrm : public QWidget {
    Q_OBJECT
public:
    static constexpr int timer1Interval = 100;

    Firstfrm(AppState& state, QString executableDirectory, QWidget* parent = nullptr);
    ~Firstfrm() override;

    // The loading step: seed, date, season colour, show and paint, then Timer1.
    void load();

    SplashPicture* Picture1 = nullptr;
    QLabel* Label5 = nullptr; // the date
    QLabel* Label1 = nullptr; // "Just a moment, please."
    QLabel* credit = nullptr; // the credit line
    std::unique_ptr<Timer> Timer1;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Timer1_Timer();

    bool painted_ = false; // the window has painted itself

    AppState& state_;
    QString executableDirectory_;
};

// The credit line under the artwork.
inline const QString splashCredit = QStringLiteral("制作　ミルネア開発グループ");
