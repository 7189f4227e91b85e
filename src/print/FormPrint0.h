#pragma once

#include "print/WorksheetBuild.h"
#include "print/frmPrint.h"

#include <QPointer>
#include <QWidget>
#include <array>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

struct AppState;

// The worksheet screen "印刷設定": the levels, the shuffle and the blanking mode of a
// worksheet of 15 questions built from the table "プロト.csv" beside the program. Every
// change rebuilds the worksheet; "印刷へ" opens the print layout form over it.
//
// Controls:
//   name           caption                        what it does
//   Label1         "印刷設定"                     title
//   Label2         "レベルを選んでください"       -
//   List1          levels "1" .. "8"              the worksheet's levels: Command3_Click
//   Label3         the levels' words              -
//   Check1         "順序を変える"                 shuffles the questions: Command3_Click
//   Option1(1..5)  "すべて印刷" "問題一カ所" ...   what is left blank: Command3_Click
//   Command3       "再並べ替え"                   builds the worksheet again: Command3_Click
//   Command1       "印刷へ"                       the print layout form: Command1_Click
//   Command2       "もどる"                       closes the screen
class FormPrint0 : public QWidget {
    Q_OBJECT
public:
    explicit FormPrint0(AppState& state, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QListWidget* List1 = nullptr; // levels "1" .. "8"
    QLabel* Label3 = nullptr;
    QCheckBox* Check1 = nullptr;            // "順序を変える"
    std::array<QRadioButton*, 6> Option1{}; // 1 .. 5; 0 is unused
    QPushButton* Command3 = nullptr;        // "再並べ替え"
    QPushButton* Command1 = nullptr;        // "印刷へ"
    QPushButton* Command2 = nullptr;        // "もどる"

    // Fills the level list, selects level 1 and builds the worksheet.
    void Form_Load();
    void Command3_Click(); // build
    void Command1_Click(); // the print layout form
    frmPrint* printForm() const { return printForm_; }

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    WorksheetChoice choice() const;
    void reportProblems(const QStringList& problems);

    AppState& state_;
    QPointer<frmPrint> printForm_;
    QString lastReport_; // the same problems are told once while the screen is open
    bool loading_ = false;
};

// Opens the worksheet screen over the current screen, which cannot be used meanwhile;
// when it closes, the current screen is brought up again (its activate() runs).
void openWorksheetScreen(AppState& state);
