// SPDX-License-Identifier: MIT
#include "PagesFixture.h"

#include "common/JsonCases.h"
#include "maintenance/PeriodPanelPicture.h"
#include "platform/widgets/Centre.h"
#include "platform/widgets/InputMode.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>

using namespace Qt::StringLiterals;

namespace {

// Page by page, its tab's name, then a line for each named control in the order the page makes them: the
// name, [index] for a member of a control array, its kind and caption. A label: "for X", the field it
// names. An option: "chosen" when chosen. A text box: its input mode (off, hiragana, katakana), "max N" its
// limit when it has one, "masked" when it shows "*". A picture: the period input method it shows (0
// 期間と範囲, 1 期間のみ, 2 範囲のみ). "hidden": a control the page does not show.
QStringList describe(const MaintenanceWindow& window)
{
    const QString modes[] = {u"off"_s, u"hiragana"_s, u"katakana"_s};
    const auto* tabs = control<QTabWidget>(window, "SSTab1");
    QStringList lines;
    for (int p = 0; p < tabs->count(); ++p) {
        const QWidget* page = tabs->widget(p);
        lines << tabs->tabText(p);
        for (QWidget* c : page->findChildren<QWidget*>()) {
            QString line = c->objectName();
            if (c->property("index").isValid())
                line += u"[%1]"_s.arg(c->property("index").toInt());
            if (auto* box = qobject_cast<QLineEdit*>(c))
                line += u" edit "_s + modes[int(inputmode::of(box))] +
                        (box->maxLength() != 32767 ? u" max %1"_s.arg(box->maxLength()) : QString()) +
                        (box->echoMode() == QLineEdit::Password ? u" masked"_s : QString());
            else if (qobject_cast<FieldLabel*>(c))
                line += u" field"_s;
            else if (auto* label = qobject_cast<QLabel*>(c))
                line += u" label \"%1\""_s.arg(label->text()) +
                        (label->buddy() ? u" for "_s + label->buddy()->objectName() : QString());
            else if (auto* option = qobject_cast<QRadioButton*>(c))
                line += u" option \"%1\""_s.arg(option->text()) +
                        (option->isChecked() ? u" chosen"_s : QString());
            else if (auto* button = qobject_cast<QPushButton*>(c))
                line += u" button \"%1\""_s.arg(button->text());
            else if (auto* frame = qobject_cast<QGroupBox*>(c); frame && !frame->title().isEmpty())
                line += u" frame \"%1\""_s.arg(frame->title());
            else if (auto* picture = qobject_cast<PeriodPanelPicture*>(c))
                line += u" picture %1"_s.arg(int(picture->method()));
            else if (qobject_cast<QComboBox*>(c))
                line += u" list"_s;
            else
                continue;
            if (!c->objectName().isEmpty())
                lines << line + (c->isVisibleTo(page) ? QString() : u" hidden"_s);
        }
    }
    return lines;
}

// The close command of the window's title bar, as the window system delivers it.
void closeFromTitleBar(QWidget* window)
{
    QCloseEvent close;
    QSpontaneKeyEvent::setSpontaneous(&close);
    QApplication::instance()->notify(window->windowHandle(), &close);
}

// Records the enabled changes and the F9 presses that reach the watched controls.
struct EventLog : QObject
{
    QStringList enabledChanges;
    int keyPresses = 0;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::EnabledChange)
            enabledChanges.append(watched->objectName());
        keyPresses +=
            event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F9;
        return false;
    }
};

} // namespace

// The maintenance window's frame: the controls the user meets, the password reveal, the creator page lock
// and the ways back to the start window.
class MaintenanceWindowTest : public QObject, WindowFixture
{
    Q_OBJECT

public:
    // A screen with room around the window, so that the centring shows.
    static void initMain()
    {
        qputenv("QT_QPA_PLATFORM",
                "offscreen:configfile=" HANAPLAN_SOURCE_DIR "/tests/data/maintenance/screen.json");
    }

private Q_SLOTS:
    void init() { window = std::make_unique<MaintenanceWindow>(); }
    void cleanup() { window.reset(); }

    // The window as it is loaded, hidden and centred, and every caption, choice and text box the user
    // meets on its pages (tests/data/cases/maintenance.json, "window").
    void controlsAsLoaded()
    {
        QVERIFY(!window->isVisible() && tabs()->currentIndex() == 0);
        QCOMPARE(window->objectName() + u' ' + window->windowTitle(), u"Mente メンテナンス"_s);
        QStringList expected;
        for (const QJsonValue& page : jsonCases("maintenance.json").value("window"_L1).toArray())
            expected += QVariant(page.toArray().toVariantList()).toStringList();
        QCOMPARE(describe(*window), expected);

        // The test's screen (1280 × 1024, see initMain) has room: the window stands in its middle. The
        // sixteen rows of 検索設定 fit a small screen.
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QRect frame = window->frameGeometry();
        QCOMPARE(frame.topLeft(), centre::centredPosition(screen, frame.size())); // as checked below
        QVERIFY(frame.width() <= 1000 && frame.height() <= 760);
        // The half pixel rounds up; a second screen counts from its corner; a window larger than the
        // screen stands at its top left.
        QCOMPARE(centre::centredPosition({0, 0, 1024, 768}, {901, 701}), QPoint(62, 34));
        QCOMPARE(centre::centredPosition({1920, 100, 1280, 1024}, {900, 700}), QPoint(2110, 262));
        QCOMPARE(centre::centredPosition({0, 0, 800, 600}, {900, 700}), QPoint(0, 0));

        // Whatever is put in a text box stays within its limit and is kept exactly, except half a
        // character: one the limit would cut, or one alone; a masked box shows "*".
        const QString hostile = u"'%*[]#\"; DROP　ｱ😀"_s;
        for (QLineEdit* box : window->findChildren<QLineEdit*>()) {
            if (box->objectName().isEmpty())
                continue; // the creator list's own text
            const QString filler(box->maxLength() - 1, u'a');
            box->setText(filler + u"😀"_s);
            QCOMPARE(box->text(), filler);
            box->setText(hostile + QChar(0xD83D));
            QCOMPARE(box->text(), hostile.left(box->maxLength()));
            QCOMPARE(box->testAttribute(Qt::WA_InputMethodEnabled),
                     inputmode::of(box) != inputmode::Mode::Disabled);
            box->setText(u"pw"_s);
            QCOMPARE(box->displayText(), box->echoMode() == QLineEdit::Password ? u"**"_s : u"pw"_s);
        }

        // 登録番号 is drawn like a text box, the text boxes' colour inside a border, its number on the
        // right; the three panel pictures each show their own method.
        showPage(MaintenanceWindow::PeriodStampPage);
        QVERIFY(numberField()->alignment() & Qt::AlignRight);
        const QImage look = numberField()->grab().toImage();
        const QColor base = numberField()->palette().color(QPalette::Base);
        QCOMPARE(look.pixelColor(look.width() / 2, look.height() / 2), base);
        QVERIFY(look.pixelColor(0, look.height() / 2) != base);
        QVERIFY(look.pixelColor(look.width() / 2, look.height() - 1) != base);
        QList<QImage> pictures;
        for (const char* name : {"Picture1", "Picture2", "Picture3"})
            pictures << control<PeriodPanelPicture>(*window, name)->grab().toImage();
        QVERIFY(pictures[0] != pictures[1] && pictures[1] != pictures[2] && pictures[0] != pictures[2]);
    }

    // The search frame takes the focus as listed: the three options (one stop), then the two texts and
    // the button, whichever option is chosen.
    void searchFrameFocusOrder()
    {
        showPage(MaintenanceWindow::CreatorPage);
        const QList<QRadioButton*> options{choice("検索条件すべて"), choice("検索条件氏名"),
                                           choice("検索条件フリガナ")};
        for (QRadioButton* chosen : options) {
            chosen->setChecked(true);
            creatorList()->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY(options.contains(QApplication::focusWidget()));
            for (QWidget* next :
                 QWidgetList{box("検索氏名"), box("検索フリガナ"), button(*window, "検索開始")}) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QCOMPARE(QApplication::focusWidget(), next);
            }
        }
    }

    // Shift+F9, with exactly Shift held, shows the password of the page in front in clear, whatever has
    // the focus in this window (the open creator list included), never from another window; the focused
    // control gets the key all the same.
    void shiftF9()
    {
        showPage(MaintenanceWindow::CreatorPage);
        QLineEdit other;
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        QTest::keyClick(&other, Qt::Key_F9, Qt::ShiftModifier);
        QVERIFY(masked("パスワード"));

        for (int page = 0; page < tabs()->count(); ++page) {
            tabs()->setCurrentIndex(page);
            QWidget* focused = tabs()->currentWidget()->findChildren<QLineEdit*>().value(0);
            if (!focused)
                focused = tabs()->currentWidget()->findChildren<QPushButton*>().value(0);
            focused->setFocus();
            EventLog log;
            focused->installEventFilter(&log);
            for (Qt::KeyboardModifiers other :
                 {Qt::KeyboardModifiers(Qt::NoModifier), Qt::ControlModifier | Qt::ShiftModifier,
                  Qt::AltModifier | Qt::ShiftModifier})
                QTest::keyClick(focused, Qt::Key_F9, other);
            QVERIFY(masked());
            QTest::keyClick(focused, Qt::Key_F9, Qt::ShiftModifier);
            QCOMPARE(masked("パスワード"), page != MaintenanceWindow::CreatorPage);
            QCOMPARE(masked("マスターパスワード"), page != MaintenanceWindow::MasterPage);
            QCOMPARE(log.keyPresses, 4);
            window->maskPasswords();
        }

        tabs()->setCurrentIndex(MaintenanceWindow::CreatorPage);
        creatorList()->addItems({"選択して下さい", "         7　甲"});
        creatorList()->showPopup();
        QAbstractItemView* view = creatorList()->view();
        QVERIFY(view->isVisible() && view->window() != window.get());
        QTest::keyClick(view, Qt::Key_F9, Qt::ShiftModifier);
        QVERIFY(!masked("パスワード"));
    }

    // While an action holds the creator page its four controls are locked in this order, and neither its
    // locked close button nor the title bar closes the window; the program's close at its end only hides it.
    void creatorPageLock()
    {
        showPage(MaintenanceWindow::CreatorPage);
        box("氏名")->setText(u"山田"_s);
        EventLog log;
        const QStringList order{"作成者検索", "検索開始", "作成者登録", "作成者終了"};
        for (const QString& name : order)
            control(*window, name.toUtf8().constData())->installEventFilter(&log);
        QSignalSpy returned(window.get(), &MaintenanceWindow::returnedToStart);

        window->DisableCreatorControls();
        QCOMPARE(log.enabledChanges, order);
        QTest::mouseClick(button(*window, "作成者終了"), Qt::LeftButton);
        closeFromTitleBar(window.get());
        QVERIFY(window->isVisible());
        window->EnableCreatorControls();
        QCOMPARE(log.enabledChanges, order + order);
        QVERIFY(window->close());
        QVERIFY(!window->isVisible() && returned.isEmpty());
        QCOMPARE(box("氏名")->text(), u"山田"_s);
    }

    // Each page's close button, the title bar's close and Enter on the close button hide the window and
    // return to the start window, the passwords masked again. 作成者終了 empties the creator page and
    // マスター終了 the master page; all but マスター終了 put the focus in the start window's 作成者ID.
    void closeButtons_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("how");
        const char* const ways[] = {"click", "title bar", "Enter on the focused button"};
        for (int how = 0; how < 3; ++how)
            for (int page = 0; page < 5; ++page)
                QTest::addRow("page %d (%s)", page, ways[how]) << page << how;
    }
    void closeButtons()
    {
        QFETCH(int, page);
        QFETCH(int, how);
        showPage(page);
        creatorList()->setEditText(u"         7　山田花子、ヤマダハナコ、"_s);
        numberField()->setText(u"7"_s);
        const QList<QLineEdit*> creator{box("氏名"),     box("ふりがな"), box("郵便番号"), box("住所"),
                                        box("自宅電話"), box("携帯電話"), box("fax番号"),  box("パスワード")};
        const QList<QLineEdit*> master{box("マスターID"), box("マスターパスワード")};
        for (QLineEdit* box : creator + master)
            box->setText(u"x'"_s + box->objectName());
        button(*window, "作成者登録")->setText(u"変更"_s);
        // Unsaved choices on the creator and settings pages.
        for (QRadioButton* unsaved : {choice("検索条件氏名"), choice("検索設定降順", 3),
                                      choice("範囲のみ", 2), choice("Option敬称", 1)})
            unsaved->setChecked(true);
        const QStringList shown = describe(*window);
        reveal();
        QList<std::pair<bool, bool>> returned; // visible, focusCreatorId
        connect(window.get(), &MaintenanceWindow::returnedToStart, this, [&](bool focus) {
            returned.append({window->isVisible(), focus});
        });

        const char* const closers[] = {"作成者終了", "マスター終了", "設定終了", "期間設定終了",
                                       "敬称設定終了"};
        QPushButton* close = button(*window, closers[page]);
        if (how == 1) {
            closeFromTitleBar(window.get());
        } else if (how == 2) {
            // Enter in a text box does nothing; on the focused button it presses the button.
            master[0]->setFocus();
            QTest::keyClick(master[0], Qt::Key_Return);
            QVERIFY(window->isVisible());
            close->setFocus();
            QTest::keyClick(close, Qt::Key_Return);
        } else {
            QTest::mouseClick(close, Qt::LeftButton);
        }

        const bool creatorEmptied = page == MaintenanceWindow::CreatorPage;
        const bool masterEmptied = page == MaintenanceWindow::MasterPage;
        QVERIFY(!window->isVisible());
        QCOMPARE(returned, (QList<std::pair<bool, bool>>{{false, !masterEmptied}}));
        // Masked again; every caption and choice, unsaved ones included, kept.
        QCOMPARE(describe(*window), shown);
        QList<bool> emptied{numberField()->text().isEmpty(), creatorList()->currentText().isEmpty()};
        for (QLineEdit* box : creator + master)
            emptied << box->text().isEmpty();
        QCOMPARE(emptied, QList<bool>(10, creatorEmptied) + QList<bool>(2, masterEmptied));

        // The next visit shows the page that was in front.
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(tabs()->currentIndex(), page);
    }
};

QTEST_MAIN(MaintenanceWindowTest)
#include "tst_maintenancewindow.moc"
