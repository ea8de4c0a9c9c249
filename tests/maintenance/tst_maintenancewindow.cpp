// SPDX-License-Identifier: MIT
#include "RuntimeError.h"
#include "launcher/Main.h"
#include "maintenance/FieldLabel.h"
#include "maintenance/MaintenanceWindow.h"
#include "maintenance/PeriodPanelPicture.h"
#include "platform/widgets/Centre.h"
#include "platform/widgets/InputMode.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>

namespace {

// Every control of the window called `name`, ordered by its "index" (controls that are not part of an
// array come alone).
QList<QWidget*> controlsNamed(const QWidget& window, const QString& name)
{
    QList<QWidget*> found = window.findChildren<QWidget*>(name);
    std::sort(found.begin(), found.end(), [](QWidget* a, QWidget* b) {
        return a->property("index").toInt() < b->property("index").toInt();
    });
    return found;
}

// The label that stands beside a field and names it.
QString labelOf(const QWidget& window, const QWidget* field)
{
    for (const QLabel* label : window.findChildren<QLabel*>())
        if (label->buddy() == field)
            return label->text();
    return QString();
}

// Clicks an option button on its round indicator, where a user clicks.
void clickOption(QRadioButton* option)
{
    QStyleOptionButton style;
    style.initFrom(option);
    const QRect indicator = option->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &style, option);
    QTest::mouseClick(option, Qt::LeftButton, Qt::NoModifier, indicator.center());
}

// The close command of the window's title bar, as the window system delivers it.
// The ways a user closes the maintenance window.
enum CloseBy { Click, TitleBar, EnterKey };

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
    QList<QPair<QString, int>> keyPresses;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::EnabledChange)
            enabledChanges.append(watched->objectName());
        if (event->type() == QEvent::KeyPress)
            keyPresses.append({watched->objectName(), static_cast<QKeyEvent*>(event)->key()});
        return false;
    }
};

} // namespace

// The maintenance window's frame: its controls as later code and the workbook rely on them, the password
// reveal, the creator page lock and the ways back to the start window.
class MaintenanceWindowTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Main> program;
    std::unique_ptr<MaintenanceWindow> window;

    void showWindow(int page)
    {
        window->SSTab1()->setCurrentIndex(page);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    // Types something into every text box of the creator and master pages and shows both passwords.
    void fillEverything()
    {
        window->作成者検索()->setEditText(QStringLiteral("         7　山田花子、ヤマダハナコ、"));
        window->登録番号()->setText(QStringLiteral("7"));
        for (QLineEdit* box : creatorFields())
            box->setText(QStringLiteral("x'") + box->objectName());
        window->検索氏名()->setText(QStringLiteral("山田"));
        window->検索条件氏名()->setChecked(true);
        window->作成者登録()->setText(QStringLiteral("変更"));
        window->マスターID()->setText(QStringLiteral("master"));
        window->マスターパスワード()->setText(QStringLiteral("secret"));
        window->パスワード()->setEchoMode(QLineEdit::Normal);
        window->マスターパスワード()->setEchoMode(QLineEdit::Normal);
    }
    QList<QLineEdit*> creatorFields() const
    {
        return {window->氏名(),     window->ふりがな(), window->郵便番号(), window->住所(),
                window->自宅電話(), window->携帯電話(), window->fax番号(),  window->パスワード()};
    }
    bool masked(QLineEdit* box) const { return box->echoMode() == QLineEdit::Password; }

private Q_SLOTS:
    void init()
    {
        program = std::make_unique<Main>(QDir::tempPath());
        window = std::make_unique<MaintenanceWindow>(*program);
    }
    void cleanup()
    {
        window.reset();
        program.reset();
    }

    // The search frame takes the focus as listed: the three options (one stop; the arrow keys move among
    // them), then the two texts and the button, whichever option is chosen.
    void searchFrameFocusOrder_data()
    {
        QTest::addColumn<int>("chosen");
        QTest::newRow("すべて") << 0;
        QTest::newRow("氏名") << 1;
        QTest::newRow("フリガナ") << 2;
    }
    void searchFrameFocusOrder()
    {
        QFETCH(int, chosen);
        const QList<QRadioButton*> options = {window->検索条件すべて(), window->検索条件氏名(),
                                              window->検索条件フリガナ()};
        options[chosen]->setChecked(true);
        showWindow(MaintenanceWindow::CreatorPage);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->作成者検索()->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(options.contains(QApplication::focusWidget()));
        const QList<QWidget*> order = {window->検索氏名(), window->検索フリガナ(), window->検索開始()};
        for (QWidget* next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    void loadedHiddenAndCentredWithPageZero()
    {
        QCOMPARE(window->objectName(), QStringLiteral("Mente"));
        QCOMPARE(window->windowTitle(), QStringLiteral("メンテナンス"));
        QVERIFY(window->isWindow());
        QVERIFY(!window->isVisible());
        QCOMPARE(window->SSTab1()->currentIndex(), 0);
        QStringList tabs;
        for (int i = 0; i < window->SSTab1()->count(); ++i)
            tabs << window->SSTab1()->tabText(i);
        QCOMPARE(tabs, (QStringList{"作成者", "マスター", "検索設定", "期間・押印", "敬称・罫線"}));

        // The test's screen (1280 × 1024, see main) has room: the window stands in its middle.
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(screen.size(), QSize(1280, 1024));
        const QRect frame = window->frameGeometry();
        QVERIFY(qAbs(frame.left() - (screen.width() - frame.width()) / 2.0) <= 0.5);
        QVERIFY(qAbs(frame.top() - (screen.height() - frame.height()) / 2.0) <= 0.5);
        // The sixteen rows of 検索設定 fit a small screen.
        QVERIFY2(frame.width() <= 1000 && frame.height() <= 760,
                 qPrintable(QStringLiteral("%1 × %2").arg(frame.width()).arg(frame.height())));
    }

    void centredPosition_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QPoint>("position");
        QTest::newRow("even room") << QRect(0, 0, 1024, 768) << QSize(900, 700) << QPoint(62, 34);
        QTest::newRow("odd room rounds the half")
            << QRect(0, 0, 1024, 768) << QSize(901, 701) << QPoint(62, 34);
        QTest::newRow("second screen")
            << QRect(1920, 100, 1280, 1024) << QSize(900, 700) << QPoint(2110, 262);
        QTest::newRow("window larger than the screen")
            << QRect(0, 0, 800, 600) << QSize(900, 700) << QPoint(0, 0);
    }
    void centredPosition()
    {
        QFETCH(QRect, screen);
        QFETCH(QSize, window);
        QFETCH(QPoint, position);
        QCOMPARE(centre::centredPosition(screen, window), position);
    }

    // The text boxes: limit, mask, input mode and the label beside each.
    void textBoxes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<bool>("masked");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("label");
        const int none = 32767;
        const int off = int(inputmode::Mode::Disabled), hira = int(inputmode::Mode::Hiragana),
                  kata = int(inputmode::Mode::FullWidthKatakana);
        QTest::newRow("検索氏名") << "検索氏名" << none << false << hira << QString();
        QTest::newRow("検索フリガナ") << "検索フリガナ" << none << false << kata << QString();
        QTest::newRow("氏名") << "氏名" << 50 << false << hira << "氏名";
        QTest::newRow("ふりがな") << "ふりがな" << 50 << false << kata << "フリガナ";
        QTest::newRow("郵便番号") << "郵便番号" << 8 << false << off << "〒";
        QTest::newRow("住所") << "住所" << 125 << false << hira << "住所";
        QTest::newRow("自宅電話") << "自宅電話" << 20 << false << off << "自宅電話";
        QTest::newRow("携帯電話") << "携帯電話" << 20 << false << off << "携帯電話";
        QTest::newRow("fax番号") << "fax番号" << 20 << false << off << "fax番号";
        QTest::newRow("パスワード") << "パスワード" << 32 << true << off << "作成者パスワード";
        QTest::newRow("マスターID") << "マスターID" << 32 << false << off << "マスターＩＤ";
        QTest::newRow("マスターパスワード")
            << "マスターパスワード" << 32 << true << off << "マスターパスワード";
        QTest::newRow("表示文") << "表示文" << none << false << hira << QString();
    }
    void textBoxes()
    {
        QFETCH(QString, name);
        QFETCH(int, maxLength);
        QFETCH(bool, masked);
        QFETCH(int, mode);
        QFETCH(QString, label);
        const QList<QWidget*> found = controlsNamed(*window, name);
        QCOMPARE(found.size(), 1);
        auto* box = qobject_cast<QLineEdit*>(found[0]);
        QVERIFY(box);
        QCOMPARE(box->maxLength(), maxLength);
        QCOMPARE(box->echoMode(), masked ? QLineEdit::Password : QLineEdit::Normal);
        box->setText(QStringLiteral("pw"));
        QCOMPARE(box->displayText(), masked ? QStringLiteral("**") : QStringLiteral("pw"));
        box->clear();
        QVERIFY2(box->property("inputMode").isValid(), "input mode not set");
        QCOMPARE(int(inputmode::of(box)), mode);
        QCOMPARE(box->testAttribute(Qt::WA_InputMethodEnabled), mode != int(inputmode::Mode::Disabled));
        if (!label.isEmpty())
            QCOMPARE(labelOf(*window, box), label);

        // Whatever is put in stays within the limit and is kept exactly, except half a character that the
        // limit would cut off.
        const QString typed = QStringLiteral("'%*[]#\"; DROP　ｱ😀").repeated(12);
        box->setText(typed);
        QString kept = typed.left(maxLength);
        if (kept.back().isHighSurrogate())
            kept.chop(1);
        QCOMPARE(box->text(), kept);
    }

    // A character typed into the last free unit of a box does not leave half of itself behind.
    void typingAtTheLimit()
    {
        showWindow(MaintenanceWindow::CreatorPage);
        QLineEdit* box = window->郵便番号();
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("123-456"));
        QKeyEvent emoji(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("😀"));
        QApplication::sendEvent(box, &emoji);
        QCOMPARE(box->text(), QStringLiteral("123-456"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QApplication::sendEvent(box, &emoji);
        QCOMPARE(box->text(), QStringLiteral("123-45😀"));
    }

    // The options chosen before any fill, which the program starts from, with what they and the rows of
    // 検索設定 say; arrays in the order of their index.
    void initialChoices_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QList<bool>>("checked");
        using L = QStringList;
        using B = QList<bool>;
        QTest::newRow("検索条件すべて") << "検索条件すべて" << L{"すべて"} << B{true};
        QTest::newRow("検索条件氏名") << "検索条件氏名" << L{"氏名"} << B{false};
        QTest::newRow("検索条件フリガナ") << "検索条件フリガナ" << L{"フリガナ"} << B{false};
        QTest::newRow("Label12") << "Label12"
                                 << L{"作成者",     "利用者",   "事業者",   "意向", "種類", "方針",
                                      "課題",       "長期目標", "短期目標", "期間", "内容", "種別",
                                      "提供事業所", "頻度",     "計画書",   "所属"}
                                 << B{};
        QTest::newRow("期間と範囲") << "期間と範囲" << L(3, "期間と範囲") << B{true, true, true};
        QTest::newRow("期間のみ") << "期間のみ" << L(3, "期間のみ") << B{false, false, false};
        QTest::newRow("範囲のみ") << "範囲のみ" << L(3, "範囲のみ") << B{false, false, false};
        QTest::newRow("説明文表示なし") << "説明文表示なし" << L{"なし"} << B{true};
        QTest::newRow("説明文表示あり") << "説明文表示あり" << L{"あり"} << B{false};
        QTest::newRow("Option敬称") << "Option敬称" << L{"様", "殿"} << B{true, false};
        QTest::newRow("Option罫線") << "Option罫線" << L{"なし", "あり"} << B{false, false};
    }
    void initialChoices()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, captions);
        QFETCH(QList<bool>, checked);
        const QList<QWidget*> found = controlsNamed(*window, name);
        QCOMPARE(found.size(), captions.size());
        QStringList actual;
        QList<bool> actualChecked;
        for (int i = 0; i < found.size(); ++i) {
            if (found.size() > 1)
                QCOMPARE(found[i]->property("index"), QVariant(i));
            actual << found[i]->property("text").toString();
            if (auto* option = qobject_cast<QRadioButton*>(found[i]))
                actualChecked << option->isChecked();
        }
        QCOMPARE(actual, captions);
        QCOMPARE(actualChecked, checked);
    }

    // Addressing a control array element that does not exist is a run-time error.
    void missingControlArrayElement()
    {
        for (auto access : std::initializer_list<std::function<void()>>{
                 [&] { window->検索設定作成者(16); }, [&] { window->Label12(-1); },
                 [&] { window->Frame2(3); }, [&] { window->範囲のみ(-1); }, [&] { window->Option敬称(2); },
                 [&] { window->Option罫線(-1); }}) {
            try {
                access();
                QFAIL("no run-time error");
            } catch (const RuntimeError& error) {
                QCOMPARE(error.number(), 340);
            }
        }
    }

    // What each row of 検索設定 offers; hidden choices exist and carry the row's value.
    void searchSettingRows_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("shown");
        const QStringList people{"なし", "更新日", "作成日", "氏名", "フリガナ", "昇順", "降順"};
        const QStringList phrases{"作成者", "全員", "なし", "使用頻度", "更新日", "作成日", "昇順", "降順"};
        QTest::newRow("1 作成者") << 0 << people;
        QTest::newRow("2 利用者") << 1 << people;
        QTest::newRow("3 事業者") << 2 << QStringList{"なし",     "更新日", "作成日", "名前",
                                                      "フリガナ", "昇順",   "降順"};
        for (int row = 3; row <= 13; ++row)
            QTest::addRow("%d", row + 1) << row << phrases;
        QTest::newRow("15 計画書") << 14 << QStringList{"なし", "更新日", "作成日", "氏名", "昇順", "降順"};
        QTest::newRow("16 所属") << 15 << QStringList{};
    }
    void searchSettingRows()
    {
        QFETCH(int, row);
        QFETCH(QStringList, shown);
        showWindow(MaintenanceWindow::SearchSettingsPage);
        QStringList visible;
        for (QGroupBox* frame : {window->検索Filter(row), window->検索Sort(row), window->検索順(row)}) {
            QCOMPARE(frame->isVisible(), !shown.isEmpty());
            const QList<QRadioButton*> options = frame->findChildren<QRadioButton*>();
            for (QRadioButton* option : options)
                if (option->isVisible())
                    visible << option->text();
        }
        QCOMPARE(visible, shown);
        QCOMPARE(window->Label12(row)->isVisible(), !shown.isEmpty());
        // The values stand in hidden choices too.
        QVERIFY(window->検索設定作成者(row)->isChecked());
        QVERIFY(window->検索設定使用頻度(row)->isChecked());
        QVERIFY(window->検索設定昇順(row)->isChecked());
    }

    // Each frame is a group of its own: a choice clears the other options of its frame only.
    void framesAreIndependentGroups()
    {
        showWindow(MaintenanceWindow::SearchSettingsPage);
        clickOption(window->検索設定全員(4));
        QVERIFY(window->検索設定全員(4)->isChecked());
        QVERIFY(!window->検索設定作成者(4)->isChecked());
        QVERIFY(window->検索設定作成者(5)->isChecked());
        QVERIFY(window->検索設定使用頻度(4)->isChecked());
        QVERIFY(window->検索設定昇順(4)->isChecked());
        // A hidden choice is set like a visible one and clears its frame.
        window->検索設定フリガナ(7)->setChecked(true);
        QVERIFY(!window->検索設定使用頻度(7)->isChecked());
        QVERIFY(window->検索設定使用頻度(6)->isChecked());

        window->SSTab1()->setCurrentIndex(MaintenanceWindow::PeriodStampPage);
        clickOption(window->期間のみ(1));
        QVERIFY(window->期間のみ(1)->isChecked());
        QVERIFY(!window->期間と範囲(1)->isChecked());
        QVERIFY(window->期間と範囲(0)->isChecked());
        QVERIFY(window->期間と範囲(2)->isChecked());
        QVERIFY(window->説明文表示なし()->isChecked());
        clickOption(window->説明文表示あり());
        QVERIFY(!window->説明文表示なし()->isChecked());
        QVERIFY(window->期間のみ(1)->isChecked());

        window->SSTab1()->setCurrentIndex(MaintenanceWindow::HonorificPage);
        clickOption(window->Option罫線(1));
        QVERIFY(window->Option罫線(1)->isChecked());
        QVERIFY(window->Option敬称(0)->isChecked());
        clickOption(window->Option敬称(1));
        QVERIFY(!window->Option敬称(0)->isChecked());
        QVERIFY(window->Option罫線(1)->isChecked());
    }

    void creatorListAndRegistrationNumber()
    {
        showWindow(MaintenanceWindow::CreatorPage);
        QComboBox* list = window->作成者検索();
        QVERIFY(list->isEditable());
        QVERIFY(!list->completer());
        QCOMPARE(labelOf(*window, list), QStringLiteral("作成者検索"));
        list->addItems({"選択して下さい", "        12　乙", "         7　甲"});
        // What is typed is never added to the list.
        list->lineEdit()->setFocus();
        list->setEditText(QString());
        QTest::keyClicks(list->lineEdit(), QStringLiteral("x"));
        QTest::keyClick(list->lineEdit(), Qt::Key_Return);
        QCOMPARE(list->count(), 3);

        FieldLabel* number = window->登録番号();
        QCOMPARE(labelOf(*window, number), QStringLiteral("作成者ID"));
        QVERIFY(number->text().isEmpty());
        QVERIFY(number->alignment() & Qt::AlignRight);
        // Drawn like a text box: the text boxes' colour inside a border.
        const QImage look = number->grab().toImage();
        const QColor base = number->palette().color(QPalette::Base);
        QCOMPARE(look.pixelColor(look.width() / 2, look.height() / 2), base);
        QVERIFY(look.pixelColor(0, look.height() / 2) != base);
        QVERIFY(look.pixelColor(look.width() / 2, look.height() - 1) != base);
        QSignalSpy doubleClicks(number, &FieldLabel::doubleClicked);
        QTest::mouseClick(number, Qt::LeftButton);
        QTest::mouseDClick(number, Qt::RightButton);
        QCOMPARE(doubleClicks.size(), 0);
        QTest::mouseDClick(number, Qt::LeftButton);
        QCOMPARE(doubleClicks.size(), 1);
    }

    // The three panel pictures each show their own method.
    void periodPictures()
    {
        showWindow(MaintenanceWindow::PeriodStampPage);
        const QImage pictures[] = {window->Picture1()->grab().toImage(), window->Picture2()->grab().toImage(),
                                   window->Picture3()->grab().toImage()};
        QCOMPARE(window->Picture1()->method(), PeriodPanelPicture::Method::PeriodAndRange);
        QCOMPARE(window->Picture2()->method(), PeriodPanelPicture::Method::PeriodOnly);
        QCOMPARE(window->Picture3()->method(), PeriodPanelPicture::Method::RangeOnly);
        QVERIFY(pictures[0] != pictures[1]);
        QVERIFY(pictures[1] != pictures[2]);
        QVERIFY(pictures[0] != pictures[2]);
        // Each stands above its option column.
        for (int k = 0; k < MaintenanceWindow::PeriodLines; ++k) {
            const QWidget* columns[][2] = {{window->Picture1(), window->期間と範囲(k)},
                                           {window->Picture2(), window->期間のみ(k)},
                                           {window->Picture3(), window->範囲のみ(k)}};
            for (const auto& column : columns) {
                const QRect picture(column[0]->mapTo(window.get(), QPoint()), column[0]->size());
                const QPoint option = column[1]->mapTo(window.get(), column[1]->rect().center());
                QVERIFY(option.x() > picture.left() && option.x() < picture.right());
                QVERIFY(option.y() > picture.bottom());
            }
        }
    }

    void shiftF9_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("creatorClear");
        QTest::addColumn<bool>("masterClear");
        const int shift = Qt::ShiftModifier;
        QTest::newRow("page 0") << 0 << shift << true << false;
        QTest::newRow("page 1") << 1 << shift << false << true;
        QTest::newRow("page 2") << 2 << shift << false << false;
        QTest::newRow("page 3") << 3 << shift << false << false;
        QTest::newRow("page 4") << 4 << shift << false << false;
        QTest::newRow("F9 alone") << 0 << int(Qt::NoModifier) << false << false;
        QTest::newRow("Ctrl+Shift+F9") << 0 << int(Qt::ControlModifier | Qt::ShiftModifier) << false << false;
        QTest::newRow("Alt+Shift+F9") << 1 << int(Qt::AltModifier | Qt::ShiftModifier) << false << false;
    }
    void shiftF9()
    {
        QFETCH(int, page);
        QFETCH(int, modifiers);
        QFETCH(bool, creatorClear);
        QFETCH(bool, masterClear);
        showWindow(page);
        // The key goes to whatever has the focus on the page in front.
        QWidget* focused = window->SSTab1()->currentWidget()->findChildren<QLineEdit*>().value(0);
        if (!focused)
            focused = window->SSTab1()->currentWidget()->findChildren<QPushButton*>().value(0);
        QVERIFY(focused);
        focused->setFocus();
        EventLog log;
        focused->installEventFilter(&log);

        QTest::keyClick(focused, Qt::Key_F9, Qt::KeyboardModifiers(modifiers));

        QCOMPARE(masked(window->パスワード()), !creatorClear);
        QCOMPARE(masked(window->マスターパスワード()), !masterClear);
        // Not consumed: the control still gets the key.
        QVERIFY(log.keyPresses.contains({focused->objectName(), int(Qt::Key_F9)}));
        // The password box keeps its input method off in clear.
        QVERIFY(!window->パスワード()->testAttribute(Qt::WA_InputMethodEnabled));
        QVERIFY(!window->マスターパスワード()->testAttribute(Qt::WA_InputMethodEnabled));
    }

    // Shift+F9 in another window is none of this window's business; the open creator list is part of
    // this window.
    void shiftF9OutsideTheWindow()
    {
        showWindow(MaintenanceWindow::CreatorPage);
        QLineEdit other;
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        QTest::keyClick(&other, Qt::Key_F9, Qt::ShiftModifier);
        QVERIFY(masked(window->パスワード()));

        window->作成者検索()->addItems({"選択して下さい", "         7　甲"});
        window->作成者検索()->showPopup();
        QWidget* popup = window->作成者検索()->view();
        QVERIFY(popup->isVisible());
        QVERIFY(popup->window() != window.get());
        QTest::keyClick(popup, Qt::Key_F9, Qt::ShiftModifier);
        QVERIFY(!masked(window->パスワード()));
        window->作成者検索()->hidePopup();
    }

    // While an action holds the creator page its four controls are locked, in this order, and neither the
    // locked close button nor the title-bar close does anything; closing by the program (at its end) only
    // hides the window.
    void disableAndEnableCreatorControls()
    {
        showWindow(MaintenanceWindow::CreatorPage);
        window->氏名()->setText(QStringLiteral("山田"));
        EventLog log;
        const QList<QWidget*> locked{window->作成者検索(), window->検索開始(), window->作成者登録(),
                                     window->作成者終了()};
        for (QWidget* control : locked)
            control->installEventFilter(&log);
        const QStringList order{"作成者検索", "検索開始", "作成者登録", "作成者終了"};

        window->DisableCreatorControls();
        QCOMPARE(log.enabledChanges, order);
        for (QWidget* control : locked)
            QVERIFY(!control->isEnabled());
        for (QWidget* control : std::initializer_list<QWidget*>{window->氏名(), window->検索氏名(),
                                                                window->登録番号(), window->マスター変更(),
                                                                window->マスター終了(), window->SSTab1()})
            QVERIFY(control->isEnabled());
        QSignalSpy returned(window.get(), &MaintenanceWindow::returnedToStart);
        QTest::mouseClick(window->作成者終了(), Qt::LeftButton);
        closeFromTitleBar(window.get());
        QVERIFY(window->isVisible());
        QCOMPARE(returned.size(), 0);
        QCOMPARE(window->氏名()->text(), QStringLiteral("山田"));

        log.enabledChanges.clear();
        window->EnableCreatorControls();
        QCOMPARE(log.enabledChanges, order);
        for (QWidget* control : locked)
            QVERIFY(control->isEnabled());
        QVERIFY(window->close());
        QVERIFY(!window->isVisible());
        QCOMPARE(returned.size(), 0);
        QCOMPARE(window->氏名()->text(), QStringLiteral("山田"));
    }

    void closeButtons_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("how");
        QTest::addColumn<bool>("focusCreatorId");
        QTest::addColumn<bool>("creatorEmptied");
        QTest::addColumn<bool>("masterEmptied");
        const char* const ways[] = {"click", "title bar", "Enter on the focused button"};
        for (int how : {Click, TitleBar, EnterKey}) {
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
        fillEverything();
        // Unsaved choices on the settings pages.
        window->検索設定降順(3)->setChecked(true);
        window->範囲のみ(2)->setChecked(true);
        window->Option敬称(1)->setChecked(true);

        QList<bool> visibleWhenReturned;
        connect(window.get(), &MaintenanceWindow::returnedToStart, this,
                [&] { visibleWhenReturned << window->isVisible(); });
        QSignalSpy returned(window.get(), &MaintenanceWindow::returnedToStart);

        const QList<QPushButton*> closeButtons{window->作成者終了(), window->マスター終了(),
                                               window->設定終了(), window->期間設定終了(),
                                               window->敬称設定終了()};
        if (how == TitleBar) {
            closeFromTitleBar(window.get());
        } else if (how == EnterKey) {
            // Enter in a text box does nothing; on the focused button it presses the button.
            QLineEdit* box = page == 1 ? window->マスターID() : window->氏名();
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Return);
            QVERIFY(window->isVisible());
            closeButtons[page]->setFocus();
            QTest::keyClick(closeButtons[page], Qt::Key_Return);
        } else {
            QTest::mouseClick(closeButtons[page], Qt::LeftButton);
        }

        QVERIFY(!window->isVisible());
        QCOMPARE(returned.size(), 1);
        QCOMPARE(returned[0][0].toBool(), focusCreatorId);
        QCOMPARE(visibleWhenReturned, QList<bool>{false});
        QVERIFY(masked(window->パスワード()));
        QVERIFY(masked(window->マスターパスワード()));

        for (QLineEdit* box : creatorFields())
            QCOMPARE(box->text().isEmpty(), creatorEmptied);
        QCOMPARE(window->登録番号()->text().isEmpty(), creatorEmptied);
        QCOMPARE(window->作成者検索()->currentText().isEmpty(), creatorEmptied);
        QCOMPARE(window->マスターID()->text().isEmpty(), masterEmptied);
        QCOMPARE(window->マスターパスワード()->text().isEmpty(), masterEmptied);
        // Kept by every close: the caption of 作成者登録, the search frame, unsaved choices.
        QCOMPARE(window->作成者登録()->text(), QStringLiteral("変更"));
        QVERIFY(window->検索条件氏名()->isChecked());
        QCOMPARE(window->検索氏名()->text(), QStringLiteral("山田"));
        QVERIFY(window->検索設定降順(3)->isChecked());
        QVERIFY(window->範囲のみ(2)->isChecked());
        QVERIFY(window->Option敬称(1)->isChecked());

        // The next visit shows the page that was in front.
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(window->SSTab1()->currentIndex(), page);
    }
};

int main(int argc, char* argv[])
{
    // A screen with room around the window, so that the centring shows. Its file is named relative to the
    // working folder, since a drive letter's colon would end the platform's option.
    QTemporaryDir folder(QStringLiteral("screens-XXXXXX"));
    const QString config = QDir::current().relativeFilePath(folder.filePath(QStringLiteral("screens.json")));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 2;
    file.write(R"({"screens": [{"name": "Screen", "x": 0, "y": 0, "width": 1280, "height": 1024,
                   "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    QApplication app(argc, argv);
    MaintenanceWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_maintenancewindow.moc"
