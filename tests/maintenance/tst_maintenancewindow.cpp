// SPDX-License-Identifier: MIT
#include "common/Controls.h"

#include "DataCases.h"

#include "launcher/Main.h"
#include "maintenance/FieldLabel.h"
#include "maintenance/MaintenanceWindow.h"
#include "maintenance/PeriodPanelPicture.h"
#include "platform/widgets/Centre.h"
#include "platform/widgets/InputMode.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>

namespace {

// One line for each named control of each page, as tests/data/maintenance/window.txt lists them.
QStringList describe(const MaintenanceWindow& window)
{
    const QString modes[] = {QStringLiteral("off"), QStringLiteral("hiragana"), QStringLiteral("katakana")};
    const auto* tabs = control<QTabWidget>(window, "SSTab1");
    QStringList lines{window.objectName() + QLatin1Char(' ') + window.windowTitle()};
    for (int p = 0; p < tabs->count(); ++p) {
        const QWidget* page = tabs->widget(p);
        lines << QStringLiteral("page ") + tabs->tabText(p);
        for (QWidget* c : page->findChildren<QWidget*>()) {
            QString line = c->objectName();
            if (c->property("index").isValid())
                line += QStringLiteral("[%1]").arg(c->property("index").toInt());
            if (auto* box = qobject_cast<QLineEdit*>(c)) {
                line += QStringLiteral(" edit ") + modes[int(inputmode::of(box))];
                if (box->maxLength() != 32767)
                    line += QStringLiteral(" max %1").arg(box->maxLength());
                if (box->echoMode() == QLineEdit::Password)
                    line += QStringLiteral(" masked");
            } else if (qobject_cast<FieldLabel*>(c)) {
                line += QStringLiteral(" field");
            } else if (auto* label = qobject_cast<QLabel*>(c)) {
                line += QStringLiteral(" label \"%1\"").arg(label->text());
                if (label->buddy())
                    line += QStringLiteral(" for ") + label->buddy()->objectName();
            } else if (auto* option = qobject_cast<QRadioButton*>(c)) {
                line += QStringLiteral(" option \"%1\"").arg(option->text());
                if (option->isChecked())
                    line += QStringLiteral(" chosen");
            } else if (auto* button = qobject_cast<QPushButton*>(c)) {
                line += QStringLiteral(" button \"%1\"").arg(button->text());
            } else if (auto* frame = qobject_cast<QGroupBox*>(c); frame && !frame->title().isEmpty()) {
                line += QStringLiteral(" frame \"%1\"").arg(frame->title());
            } else if (auto* picture = qobject_cast<PeriodPanelPicture*>(c)) {
                line += QStringLiteral(" picture %1").arg(int(picture->method()));
            } else if (qobject_cast<QComboBox*>(c)) {
                line += QStringLiteral(" list");
            } else {
                continue;
            }
            if (!c->isVisibleTo(page))
                line += QStringLiteral(" hidden");
            if (!c->objectName().isEmpty())
                lines << line;
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

// Records the enabled changes and key presses that reach the watched controls.
class EventLog : public QObject
{
public:
    QStringList enabledChanges;
    int keyPresses = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::EnabledChange)
            enabledChanges.append(watched->objectName());
        keyPresses +=
            event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F9;
        return false;
    }
};

bool masked(const QLineEdit* box)
{
    return box->echoMode() == QLineEdit::Password;
}

} // namespace

// The maintenance window's frame: the controls the user meets, the password reveal, the creator page lock
// and the ways back to the start window.
class MaintenanceWindowTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Main> program;
    std::unique_ptr<MaintenanceWindow> window;

    QTabWidget* tabs() const { return control<QTabWidget>(*window, "SSTab1"); }
    void showWindow(int page)
    {
        tabs()->setCurrentIndex(page);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    QList<QLineEdit*> creatorFields() const
    {
        return {edit(*window, "氏名"),    edit(*window, "ふりがな"),  edit(*window, "郵便番号"),
                edit(*window, "住所"),    edit(*window, "自宅電話"),  edit(*window, "携帯電話"),
                edit(*window, "fax番号"), edit(*window, "パスワード")};
    }

private Q_SLOTS:
    void init()
    {
        program = std::make_unique<Main>(QDir::tempPath());
        window = std::make_unique<MaintenanceWindow>();
    }
    void cleanup()
    {
        window.reset();
        program.reset();
    }

    // The window as it is loaded, hidden and centred, and every caption, choice and text box the user
    // meets on its pages.
    void controlsAsLoaded()
    {
        QVERIFY(!window->isVisible());
        QCOMPARE(tabs()->currentIndex(), 0);
        QStringList expected;
        for (const QStringList& line : dataCases("window.txt"))
            expected << line.join(QStringLiteral(" | "));
        QCOMPARE(describe(*window), expected);

        // The test's screen (1280 × 1024, see main) has room: the window stands in its middle. The sixteen
        // rows of 検索設定 fit a small screen.
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QRect frame = window->frameGeometry();
        QVERIFY(qAbs(frame.left() - (screen.width() - frame.width()) / 2.0) <= 0.5);
        QVERIFY(qAbs(frame.top() - (screen.height() - frame.height()) / 2.0) <= 0.5);
        QVERIFY(frame.width() <= 1000 && frame.height() <= 760);
        // The half pixel rounds up; a second screen counts from its corner; a window larger than the
        // screen stands at its top left.
        QCOMPARE(centre::centredPosition({0, 0, 1024, 768}, {901, 701}), QPoint(62, 34));
        QCOMPARE(centre::centredPosition({1920, 100, 1280, 1024}, {900, 700}), QPoint(2110, 262));
        QCOMPARE(centre::centredPosition({0, 0, 800, 600}, {900, 700}), QPoint(0, 0));

        // Whatever is put in a text box stays within its limit and is kept exactly, except half a
        // character: one the limit would cut, or one alone; a masked box shows "*".
        const QString hostile = QStringLiteral("'%*[]#\"; DROP　ｱ😀");
        for (QLineEdit* box : window->findChildren<QLineEdit*>()) {
            if (box->objectName().isEmpty())
                continue; // the creator list's own text
            box->setText(QString(box->maxLength() - 1, QLatin1Char('a')) + QStringLiteral("😀"));
            QCOMPARE(box->text(), QString(box->maxLength() - 1, QLatin1Char('a')));
            box->setText(hostile + QChar(0xD83D));
            QCOMPARE(box->text(), hostile.left(box->maxLength()));
            QCOMPARE(box->testAttribute(Qt::WA_InputMethodEnabled),
                     inputmode::of(box) != inputmode::Mode::Disabled);
            box->setText(QStringLiteral("pw"));
            QCOMPARE(box->displayText(), masked(box) ? QStringLiteral("**") : QStringLiteral("pw"));
        }

        // 登録番号 is drawn like a text box, the text boxes' colour inside a border, its number on the
        // right; the three panel pictures each show their own method.
        showWindow(MaintenanceWindow::PeriodStampPage);
        auto* number = control<FieldLabel>(*window, "登録番号");
        QVERIFY(number->alignment() & Qt::AlignRight);
        const QImage look = number->grab().toImage();
        const QColor base = number->palette().color(QPalette::Base);
        QCOMPARE(look.pixelColor(look.width() / 2, look.height() / 2), base);
        QVERIFY(look.pixelColor(0, look.height() / 2) != base);
        QVERIFY(look.pixelColor(look.width() / 2, look.height() - 1) != base);
        const QImage pictures[] = {control<PeriodPanelPicture>(*window, "Picture1")->grab().toImage(),
                                   control<PeriodPanelPicture>(*window, "Picture2")->grab().toImage(),
                                   control<PeriodPanelPicture>(*window, "Picture3")->grab().toImage()};
        QVERIFY(pictures[0] != pictures[1] && pictures[1] != pictures[2] && pictures[0] != pictures[2]);
    }

    // The search frame takes the focus as listed: the three options (one stop), then the two texts and
    // the button, whichever option is chosen.
    void searchFrameFocusOrder()
    {
        showWindow(MaintenanceWindow::CreatorPage);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        const QList<QRadioButton*> options = {option(*window, "検索条件すべて"),
                                              option(*window, "検索条件氏名"),
                                              option(*window, "検索条件フリガナ")};
        for (QRadioButton* chosen : options) {
            chosen->setChecked(true);
            control<QComboBox>(*window, "作成者検索")->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY(options.contains(QApplication::focusWidget()));
            for (QWidget* next : std::initializer_list<QWidget*>{
                     edit(*window, "検索氏名"), edit(*window, "検索フリガナ"), button(*window, "検索開始")}) {
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
        showWindow(MaintenanceWindow::CreatorPage);
        QLineEdit other;
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        QTest::keyClick(&other, Qt::Key_F9, Qt::ShiftModifier);
        QVERIFY(masked(edit(*window, "パスワード")));

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
            QVERIFY(masked(edit(*window, "パスワード")) && masked(edit(*window, "マスターパスワード")));
            QTest::keyClick(focused, Qt::Key_F9, Qt::ShiftModifier);
            QCOMPARE(masked(edit(*window, "パスワード")), page != MaintenanceWindow::CreatorPage);
            QCOMPARE(masked(edit(*window, "マスターパスワード")), page != MaintenanceWindow::MasterPage);
            QCOMPARE(log.keyPresses, 4);
            window->maskPasswords();
        }

        tabs()->setCurrentIndex(MaintenanceWindow::CreatorPage);
        auto* list = control<QComboBox>(*window, "作成者検索");
        list->addItems({"選択して下さい", "         7　甲"});
        list->showPopup();
        QVERIFY(list->view()->isVisible() && list->view()->window() != window.get());
        QTest::keyClick(list->view(), Qt::Key_F9, Qt::ShiftModifier);
        QVERIFY(!masked(edit(*window, "パスワード")));
        list->hidePopup();
    }

    // While an action holds the creator page its four controls are locked, in this order, and neither the
    // locked close button nor the title-bar close does anything; closing by the program (at its end) only
    // hides the window.
    void creatorPageLock()
    {
        showWindow(MaintenanceWindow::CreatorPage);
        edit(*window, "氏名")->setText(QStringLiteral("山田"));
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
        QVERIFY(button(*window, "作成者終了")->isEnabled());
        QVERIFY(window->close());
        QVERIFY(!window->isVisible());
        QCOMPARE(returned.size(), 0);
        QCOMPARE(edit(*window, "氏名")->text(), QStringLiteral("山田"));
    }

    // Each page's close button, the title bar's close and Enter on the close button hide the window and
    // return to the start window, the passwords masked again; what they empty depends on the page.
    void closeButtons_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("how");
        QTest::addColumn<bool>("focusCreatorId");
        QTest::addColumn<bool>("creatorEmptied");
        QTest::addColumn<bool>("masterEmptied");
        const char* const ways[] = {"click", "title bar", "Enter on the focused button"};
        for (int how = 0; how < 3; ++how) {
            QTest::addRow("作成者終了 (%s)", ways[how]) << 0 << how << true << true << false;
            QTest::addRow("マスター終了 (%s)", ways[how]) << 1 << how << false << false << true;
            QTest::addRow("設定終了 (%s)", ways[how]) << 2 << how << true << false << false;
            QTest::addRow("期間設定終了 (%s)", ways[how]) << 3 << how << true << false << false;
            QTest::addRow("敬称設定終了 (%s)", ways[how]) << 4 << how << true << false << false;
        }
    }
    void closeButtons()
    {
        QFETCH(int, page);
        QFETCH(int, how);
        QFETCH(bool, focusCreatorId);
        QFETCH(bool, creatorEmptied);
        QFETCH(bool, masterEmptied);
        showWindow(page);
        auto* list = control<QComboBox>(*window, "作成者検索");
        list->setEditText(QStringLiteral("         7　山田花子、ヤマダハナコ、"));
        control<FieldLabel>(*window, "登録番号")->setText(QStringLiteral("7"));
        const QList<QLineEdit*> master{edit(*window, "マスターID"), edit(*window, "マスターパスワード")};
        for (QLineEdit* box : creatorFields() + master)
            box->setText(QStringLiteral("x'") + box->objectName());
        option(*window, "検索条件氏名")->setChecked(true);
        button(*window, "作成者登録")->setText(QStringLiteral("変更"));
        // Unsaved choices on the settings pages.
        option(*window, "検索設定降順", 3)->setChecked(true);
        option(*window, "範囲のみ", 2)->setChecked(true);
        option(*window, "Option敬称", 1)->setChecked(true);
        const QStringList shown = describe(*window);
        edit(*window, "パスワード")->setEchoMode(QLineEdit::Normal);
        edit(*window, "マスターパスワード")->setEchoMode(QLineEdit::Normal);
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

        QVERIFY(!window->isVisible());
        QCOMPARE(returned, (QList<std::pair<bool, bool>>{{false, focusCreatorId}}));
        // Masked again; every caption and choice, unsaved ones included, kept.
        QCOMPARE(describe(*window), shown);
        for (QLineEdit* box : creatorFields())
            QCOMPARE(box->text().isEmpty(), creatorEmptied);
        QCOMPARE(control<FieldLabel>(*window, "登録番号")->text().isEmpty(), creatorEmptied);
        QCOMPARE(list->currentText().isEmpty(), creatorEmptied);
        for (QLineEdit* box : master)
            QCOMPARE(box->text().isEmpty(), masterEmptied);

        // The next visit shows the page that was in front.
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(tabs()->currentIndex(), page);
    }
};

int main(int argc, char* argv[])
{
    // A screen with room around the window, so that the centring shows.
    qputenv("QT_QPA_PLATFORM",
            "offscreen:configfile=" HANAPLAN_SOURCE_DIR "/tests/data/maintenance/screen.json");
    QApplication app(argc, argv);
    MaintenanceWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_maintenancewindow.moc"
