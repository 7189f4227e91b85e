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
