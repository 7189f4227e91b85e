#pragma once

#include <QString>
#include <functional>
#include <memory>

struct AppState;
class Timer;

// What the result screen shows, control by control.
struct ResultDisplay {
    QString title;      // Label15: the program's title
    QString dayRuns;    // Label14: "（3回目)"
    QString levelName;  // Label16
    QString levelRuns;  // Label13: " (このレベル　2回目)"
    QString pupilName;  // Label17
    QString timeText;   // Label18
    QString pointsText; // Label19
    QString recordText; // Label20
    bool recordShown = false;
    QString clearText = QStringLiteral("このレベルクリア"); // Label2
    bool clearShown = false;
    bool coursePanelShown = false; // Picture1 with "目標レベルクリア。おめでとう！"
    bool menuShown = false;        // Command4 "メニューへ"
    bool menuFocused = false;      // Command4 has the keyboard focus (Enter goes to the menu)
    bool retryShown = false;       // Command5 "もう一度"
};

// The result screen's work without its widgets: the evaluation of the run just recorded
// with its sounds, and Timer1 that offers the buttons half a second later.
class ResultSession {
public:
    explicit ResultSession(AppState& state);
    ~ResultSession();

    // Called whenever the display changed and the screen should show it and let pending
    // window events run. The screen sets it; by default nothing happens.
    std::function<void()> letEventsRun;

    // The evaluation, each time the screen becomes active. False when the program is
    // ending (the results file could not be read, or the sound failed for good).
    bool evaluate();

    // Timer1's tick: hides the course-complete panel and offers the buttons. A tick that
    // comes while a sound plays waits for the sound to end.
    void offerButtons();

    // The pupil chose a button: nothing of the evaluation runs any more.
    void leave() { leaving_ = true; }
    bool leaving() const { return leaving_; }

    const ResultDisplay& display() const { return display_; }
    bool timerActive() const;

    static constexpr int timerIntervalMs = 500;

private:
    void refresh();
    bool playing(const std::function<bool()>& play);
    void showRecordMessage(const QString& text);
    bool finishEvaluation();

    AppState& state_;
    ResultDisplay display_;
    std::unique_ptr<Timer> timer1_;
    bool soundPlaying_ = false;
    bool tickWaiting_ = false;
    bool leaving_ = false;
};
