#pragma once

#include "app/Screen.h"
#include "records/CriteriaGrid.h"
#include "records/TimeDistributions.h"

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableWidget;

// The teacher's criteria editor: the criteria file in a grid, edited through one edit box
// laid over the current cell, and beside it how the pupils' times at the level of the
// current row are spread. Reached from the teacher panel of the level menu; its back
// button builds the level menu afresh.
//
// Controls:
//   name           caption                       what it does
//   Label1         the grid's title              -
//   MSFlexGrid1    the criteria, a row a level   a click picks the cell: cellClicked
//   Gridinputtext  -                             edit box over the cell: editBoxToCell
//   Label5         "スペース：セルクリア　　Shift + ↓：セルコピー"   the edit keys
//   Label6, Label3 "列の説明", the column's meaning
//   Command3       "更新記録"                    saves the criteria file: command3Click
//   Command2       "元に戻す"                    reads the file again: command2Click
//   Command4       "戻る"                        back to the level menu: command4Click
//   Option1(0..1)  "度数表示" "度数非表示"        shows or hides the spread: optionClicked
//   Picture1       "現在までの成績度数分布"       the spread: Label8 "全成績" over List3,
//                                                Label9 "最高タイム" over List4
//   waitPanel      "Just a moment,please."       covers the screen while it works
class CriteriaEditor : public Screen {
    Q_OBJECT
public:
    explicit CriteriaEditor(AppState& state, QWidget* parent = nullptr);

    void activate() override;
    QString caption() const override { return QStringLiteral("合格タイムデータ変更"); }

    const CriteriaGrid& grid() const { return grid_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void loadGrid();
    void showGrid();
    void showCell(int row, int column);
    void sizeColumns();
    void placeEditBox();
    void cellToEditBox();
    void editBoxToCell(const QString& text);
    void refreshDistributions();
    bool editKey(int key, Qt::KeyboardModifiers modifiers);
    void cellClicked(int row, int column);
    bool saveGrid();
    void command3Click();
    void command2Click();
    void command4Click();
    void optionClicked(int index);
    void showWaitPanel(bool shown);

    CriteriaGrid grid_;
    TimeDistributions tables_;
    bool readFailureShown_ = false;
    bool leaving_ = false;

    QLabel* label1_;
    QTableWidget* grid1_;
    QLineEdit* input_;
    QLabel* keyHint_;
    QLabel* label6_;
    QLabel* label3_;
    QPushButton* command3_;
    QPushButton* command2_;
    QPushButton* command4_;
    QRadioButton* option1_[2];
    QFrame* panel_;
    QListWidget* list3_;
    QListWidget* list4_;
    QLabel* waitPanel_;
};

// Creates the criteria editor and shows it in the top-level window.
void openCriteriaEditor(AppState& state);
