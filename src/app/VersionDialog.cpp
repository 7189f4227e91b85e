#include "app/VersionDialog.h"

#include "app/AppState.h"
#include "app/JapaneseFonts.h"

#include <QLabel>
#include <QPushButton>

QString versionText() {
    return QStringLiteral("Version%1.%2.%3")
        .arg(MIRUNEA_VERSION_MAJOR)
        .arg(MIRUNEA_VERSION_MINOR)
        .arg(MIRUNEA_VERSION_PATCH);
}

namespace {

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, int pixels, bool bold,
                  const QRect& place) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font(msPGothic);
    font.setPixelSize(pixels);
    font.setBold(bold);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(place);
    return label;
}

} // namespace

frmver::frmver(const AppState& state, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmver"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setFixedSize(400, 240);

    Label1 = makeLabel(this, QStringLiteral("Label1"), state.profile.programTitle, 28, true,
                       QRect(20, 20, 360, 44));
    Label2 =
        makeLabel(this, QStringLiteral("Label2"), versionText(), 16, false, QRect(20, 70, 360, 26));
    Label4 = makeLabel(this, QStringLiteral("Label4"), versionCredit1, 14, false,
                       QRect(20, 110, 360, 22));
    Label5 = makeLabel(this, QStringLiteral("Label5"), versionCredit2, 12, false,
                       QRect(20, 136, 360, 22));

    Command1 = new QPushButton(QStringLiteral("O.K."), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(150, 180, 100, 36);
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
}

void openVersionDialog(const AppState& state, QWidget* parent) {
    frmver dialog(state, parent);
    if (parent) {
        const QPoint centre = parent->mapToGlobal(parent->rect().center());
        dialog.move(centre - dialog.rect().center());
    }
    dialog.exec();
}
