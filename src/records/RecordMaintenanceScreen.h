#pragma once

#include "app/Screen.h"
#include "records/RecordMaintenance.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;

// The teacher's record maintenance screen ("データ変更"): every record of the results file,
// one line each; a double-click opens a record in the edit panel, where its seconds and
// pupil can be changed or the record deleted. "戻る" goes back to the level menu.
//
// Controls:
//   name        caption                          what it does
//   Label3      the number of records            -
//   Label5      "ダブルクリックすると変更、消去できます"   -
//   List1       one line per record              a double-click opens it: openLine
//   Command4    "戻る"                           back to the level menu: command4Click
//   Frame1      -                                the edit panel of one record
//   Label1, Label2(1), Label2(2)  the record's date, level and pupil
//   Combo1      the pupils                       changes the record's pupil
//   Label2(4)   the chosen pupil's grade         -
//   Text1(1), VScroll1  the seconds              edit the record's seconds
//   Label2(0)   "秒"                             -
//   Command2    "変更して記録"                   writes the changed record: command2Click
//   Command3    "消去"                           deletes the record: command3Click
//   Command1    "キャンセル"                     closes the panel: closeEditPanel
//   Picture2    -                                covers the screen while it closes
class RecordMaintenanceScreen : public Screen {
    Q_OBJECT
public:
    explicit RecordMaintenanceScreen(AppState& state, QWidget* parent = nullptr);

    void activate() override;
    QString caption() const override { return QStringLiteral("データ変更"); }

    const RecordMaintenance& maintenance() const { return maintenance_; }

private:
    QLabel* newLabel(QWidget* parent, const QString& name, const QString& text = {});
    QPushButton* newButton(QWidget* parent, const QString& name, const QString& text);
    void buildEditPanel();
    // Shows the lines of the list and selects one (none for -1).
    void showList(int selectLine);
    void openLine(int line);
    void closeEditPanel();
    void command2Click();
    void command3Click();
    void command4Click();

    RecordMaintenance maintenance_;
    bool built_ = false;

    QLabel* Label3_ = nullptr;
    QLabel* Label5_ = nullptr;
    QListWidget* List1_ = nullptr;
    QPushButton* Command4_ = nullptr;

    QFrame* Frame1_ = nullptr; // the edit panel
    QLabel* Label1_ = nullptr;
    QLabel* Label2_[5] = {}; // indexes 0, 1, 2 and 4
    QComboBox* Combo1_ = nullptr;
    QLineEdit* Text1_ = nullptr; // index 1
    QScrollBar* VScroll1_ = nullptr;
    QPushButton* Command2_ = nullptr;
    QPushButton* Command3_ = nullptr;
    QPushButton* Command1_ = nullptr; // "キャンセル"

    QFrame* Picture2_ = nullptr; // the cover while the screen closes
};

// Creates the record maintenance screen and shows it in the program's window.
void openRecordMaintenance(AppState& state);
