#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
struct AppState;

// "Version" followed by the build's major, minor and patch numbers: "Version1.0.0".
QString versionText();

inline const QString versionCredit1 = QStringLiteral("制作　ミルネア開発グループ");
inline const QString versionCredit2 =
    QStringLiteral("教室の先生方の声から生まれた等しい比のドリル");

// The version dialog "ﾊﾞｰｼﾞｮﾝ情報": the title, the version, two credit lines and
// "O.K.", which closes it.
//
// Controls:
//   name      caption              what it does
//   Label1    the program's title  -
//   Label2    "Version1.0.0"       -
//   Label4    versionCredit1       -
//   Label5    versionCredit2       -
//   Command1  "O.K."               closes the dialog
class frmver : public QDialog {
    Q_OBJECT
public:
    explicit frmver(const AppState& state, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr; // the program's title
    QLabel* Label2 = nullptr; // the version
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QPushButton* Command1 = nullptr; // "O.K."
};

// Opens the dialog modally, centred over parent (the name list opens it from its title).
void openVersionDialog(const AppState& state, QWidget* parent);
