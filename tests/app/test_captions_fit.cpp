// Every caption of every screen is read whole at 1024 x 768 with the fonts the program maps:
// the demo school is opened as the teacher, and every screen and panel a teacher or a pupil
// can bring up is walked control by control. A text that needs more room than its control's
// contents rectangle (measured with the control's own font) is listed with the room it has.
#include "app/AppState.h"
#include "app/Firstfrm.h"
#include "app/FitLabel.h"
#include "app/ScreenHost.h"
#include "app/ScreenRoutes.h"
#include "app/VersionDialog.h"
#include "app/WaitWindow.h"
#include "makedemo/DemoInstallation.h"
#include "media/MediaTestMain.h"
#include "media/viewers/ExplanationViewers.h"
#include "media/viewers/frmBrowser.h"
#include "print/FormPrint0.h"
#include "roster/StudentSelection.h"
#include "support/FakeEnvironment.h"
#include "views/LevelMenu.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <QTableWidget>
#include <QTemporaryDir>

namespace {

const QDate today(2026, 12, 9);

// The room a control gives its text, and the room the text needs. A single line is laid
// out on its line's height and centred (or put at the top); what must be inside the box is
// its ink: a figure in a box just the height of its digits is shown whole.
struct Room {
    QRect box;
    QSize needed;
    int inkTop = 0; // a single line's ink, relative to the box's top; both 0 otherwise
    int inkBottom = 0;
};

Room lineRoom(const QFontMetrics& fm, const QString& text, const QRect& box, Qt::Alignment align) {
    Room room{box, fm.size(Qt::TextShowMnemonic, text)};
    if (text.contains(QLatin1Char('\n'))) {
        return room;
    }
    int baseline = (box.height() - fm.height()) / 2 + fm.ascent();
    if (align & Qt::AlignTop) {
        baseline = fm.ascent();
    } else if (align & Qt::AlignBottom) {
        baseline = box.height() - fm.descent();
    }
    const QRect ink = fm.tightBoundingRect(QString(text).remove(QLatin1Char('&')));
    room.inkTop = baseline + ink.top();
    room.inkBottom = baseline + ink.bottom() + 1;
    room.needed.setHeight(0);
    return room;
}

Room labelRoom(const QLabel* label) {
    const QFontMetrics fm(label->font());
    const int margin = label->margin();
    QRect box = label->contentsRect().adjusted(margin, margin, -margin, -margin);
    int indent = label->indent();
    if (indent < 0 && label->frameWidth() > 0) {
        indent = fm.horizontalAdvance(QLatin1Char('x')) / 2;
    }
    if (indent > 0 && !(label->alignment() & Qt::AlignHCenter)) {
        box.setWidth(box.width() - indent);
    }
    if (label->wordWrap()) {
        const QRect used =
            fm.boundingRect(QRect(0, 0, box.width(), 100000), Qt::TextWordWrap, label->text());
        return {box, used.size()};
    }
    return lineRoom(fm, label->text(), box, label->alignment());
}

Room buttonRoom(const QAbstractButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    QStyle::SubElement element = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QRadioButton*>(button)) {
        element = QStyle::SE_RadioButtonContents;
    } else if (qobject_cast<const QCheckBox*>(button)) {
        element = QStyle::SE_CheckBoxContents;
    }
    const QRect box = button->style()->subElementRect(element, &option, button);
    return lineRoom(QFontMetrics(button->font()), button->text(), box, Qt::AlignVCenter);
}

QRect comboTextBox(const QComboBox* combo) {
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    return combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                          QStyle::SC_ComboBoxEditField, combo);
}

QString where(const QWidget* control) {
    QString path = control->objectName();
    for (const QWidget* w = control->parentWidget(); w; w = w->parentWidget()) {
        if (!w->objectName().isEmpty()) {
            path = w->objectName() + QLatin1Char('/') + path;
        }
        if (w->isWindow()) {
            break;
        }
    }
    return path;
}

void check(QStringList& cut, const QWidget* control, const QString& text, const Room& room) {
    if (room.needed.width() > room.box.width() || room.needed.height() > room.box.height() ||
        room.inkTop < 0 || room.inkBottom > room.box.height()) {
        cut << QStringLiteral("%1 \"%2\": needs %3x%4 (ink %5..%6), has %7x%8")
                   .arg(where(control), text)
                   .arg(room.needed.width())
                   .arg(room.needed.height())
                   .arg(room.inkTop)
                   .arg(room.inkBottom)
                   .arg(room.box.width())
                   .arg(room.box.height());
    }
}

// The captions of window and its controls (shown or waiting to be shown) that do not fit.
// Lists, tables' cells and edit boxes scroll what they hold and are left out; a FitLabel
// shrinks its text and is checked at the size it draws.
QStringList captionsCutOff(const QWidget* window) {
    QStringList cut;
    QList<const QWidget*> controls{window};
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        controls << w;
    }
    for (const QWidget* w : std::as_const(controls)) {
        if (const auto* fit = qobject_cast<const FitLabel*>(w)) {
            if (!fit->text().isEmpty() && !fit->shown().fits) {
                cut << where(fit) +
                           QStringLiteral(" \"%1\": cut at its smallest size").arg(fit->text());
            }
        } else if (const auto* label = qobject_cast<const QLabel*>(w)) {
            if (!label->text().isEmpty() && label->textFormat() != Qt::RichText) {
                check(cut, label, label->text(), labelRoom(label));
            }
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
            if (!button->text().isEmpty()) {
                check(cut, button, button->text(), buttonRoom(button));
            }
        } else if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
            const QFontMetrics fm(combo->font());
            for (int i = 0; i < combo->count(); ++i) {
                const QString text = combo->itemText(i);
                check(cut, combo, text, lineRoom(fm, text, comboTextBox(combo), Qt::AlignVCenter));
            }
        } else if (const auto* table = qobject_cast<const QTableWidget*>(w)) {
            const QFontMetrics fm(table->horizontalHeader()->font());
            for (int c = 0; c < table->columnCount(); ++c) {
                const QTableWidgetItem* item = table->horizontalHeaderItem(c);
                if (item && !table->isColumnHidden(c)) {
                    const QRect box(0, 0, table->columnWidth(c) - 4,
                                    table->horizontalHeader()->height());
                    check(cut, table, item->text(),
                          lineRoom(fm, item->text(), box, Qt::AlignVCenter));
                }
            }
        }
    }
    return cut;
}

QWidget* topLevel(const char* className) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->inherits(className) && w->isVisible()) {
            return w;
        }
    }
    qFatal("no window %s", className);
}

} // namespace

class CaptionsFitTest : public QObject {
    Q_OBJECT
private slots:
    void everyCaptionOfEveryScreenIsShownWhole();
};

void CaptionsFitTest::everyCaptionOfEveryScreenIsShownWhole() {
    QTemporaryDir dir;
    const DemoInstallation demo = demoInstallationAt(dir.path(), today);
    QString error;
    QVERIFY2(layOutDemoInstallation(demo, &error), qPrintable(error));
    FakeEnvironment env;
    env.setNow(QDateTime(today, QTime(16, 30)));
    AppState state;
    ScreenHost host;
    state.env = &env;
    state.host = &host;
    wireScreens(state);
    wireExplanationViewers(state, QStringLiteral(MIRUNEA_ANIMATION_PLAYER_DIR));
    host.resize(1024, 768);
    host.show();

    QStringList cut;
    const auto walk = [&cut](const QWidget* window, const QString& what) {
        for (const QString& line : captionsCutOff(window)) {
            cut << what + QStringLiteral(": ") + line;
        }
    };
    const auto click = [&host](const QString& name) {
        auto* control = host.current()->findChild<QAbstractButton*>(name);
        QVERIFY2(control && control->isVisible() && control->isEnabled(), qPrintable(name));
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(8, control->height() / 2));
    };

    // The splash, the name list and the version dialog.
    Firstfrm splash(state, demo.programFolder);
    splash.load();
    walk(&splash, QStringLiteral("splash"));
    env.advance(Firstfrm::timer1Interval);
    auto* names = qobject_cast<StudentSelection*>(host.current());
    QVERIFY(names);
    walk(names, QStringLiteral("name list"));
    {
        frmver version(state, &host);
        version.show();
        walk(&version, QStringLiteral("version"));
    }

    // The level menu as the teacher, with every display, the graph and the teacher panel.
    const QList<QListWidgetItem*> teacher =
        names->List1->findItems(QStringLiteral("先生"), Qt::MatchContains);
    QVERIFY(!teacher.isEmpty());
    names->List1->setCurrentItem(teacher.first());
    QTest::mouseClick(names->Command14, Qt::LeftButton);
    QVERIFY(qobject_cast<seisekitime1*>(host.current()));
    state.profile.printEnabled = 1; // the print button too
    host.current()->activate();
    walk(host.current(), QStringLiteral("level menu, points"));
    click(QStringLiteral("Option2_0"));
    walk(host.current(), QStringLiteral("level menu, times"));
    click(QStringLiteral("Option1_3"));
    walk(host.current(), QStringLiteral("level menu, every run"));
    click(QStringLiteral("Option2_2"));
    click(QStringLiteral("Command17"));
    walk(host.current(), QStringLiteral("level menu, graph"));
    click(QStringLiteral("Command8"));
    walk(host.current(), QStringLiteral("level menu, teacher panel"));

    // The viewers over the level menu, and the wait window.
    state.media.currentMedia = QStringLiteral("解説1.mp4");
    state.routes.openExplanationVideo();
    walk(state.media.videoWindow, QStringLiteral("video"));
    state.media.videoWindow->close();
    state.media.currentMedia = QStringLiteral("解説1.swf");
    state.routes.openExplanationAnimation();
    QWidget* browser = topLevel("frmBrowser");
    walk(browser, QStringLiteral("animation"));
    browser->close();
    showWaitWindow(state);
    walk(state.waitWindow, QStringLiteral("wait window"));
    closeWaitWindow(state);

    // The worksheet and its print layout form.
    state.routes.openWorksheet();
    auto* worksheet = qobject_cast<FormPrint0*>(topLevel("FormPrint0"));
    walk(worksheet, QStringLiteral("worksheet"));
    worksheet->Command1_Click();
    QVERIFY(worksheet->printForm());
    walk(worksheet->printForm(), QStringLiteral("print layout"));
    worksheet->printForm()->close();
    worksheet->close();

    // The teacher's editors.
    state.routes.openCriteriaEditor();
    walk(host.current(), QStringLiteral("criteria editor"));
    state.routes.openRecordMaintenance();
    auto* records = host.current()->findChild<QListWidget*>(QStringLiteral("List1"));
    QVERIFY(records && records->count() > 0);
    // A double-click as the platform delivers it opens the first record in the edit panel.
    const QRect first = records->visualItemRect(records->item(0));
    QTest::mouseDClick(host.windowHandle(), Qt::LeftButton, {},
                       records->viewport()->mapTo(&host, first.center()));
    QVERIFY(host.current()->findChild<QWidget*>(QStringLiteral("Frame1"))->isVisible());
    walk(host.current(), QStringLiteral("record maintenance, a record open"));

    // A run and its result.
    state.run.levelNo = 1;
    state.routes.startRun();
    walk(host.current(), QStringLiteral("drill"));
    state.run.resultTime = 45;
    state.routes.openResultScreen();
    env.advance(1000);
    walk(host.current(), QStringLiteral("result"));

    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
}

MIRUNEA_MEDIA_TEST_MAIN(CaptionsFitTest)
#include "test_captions_fit.moc"
