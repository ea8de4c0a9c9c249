// SPDX-License-Identifier: MIT
#include "viewer/ViewerWindow.h"

#include "platform/widgets/Fonts.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Lines of a long text shown at once; more scroll within its box.
constexpr int kLongValueLines = 4;

// A value line of a form; its object name lets tests and screenshots find it. A value longer than its
// line wraps.
QLabel* valueLabel(QWidget* parent, const QString& objectName, const QString& text)
{
    auto* value = new QLabel(text, parent);
    value->setObjectName(objectName);
    value->setTextFormat(Qt::PlainText);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setWordWrap(true);
    return value;
}

QLabel* addValue(QFormLayout* form, const QString& caption, const QString& objectName, const QString& text)
{
    QLabel* value = valueLabel(form->parentWidget(), objectName, text);
    form->addRow(caption, value);
    return value;
}

// A long text (the sentence, a note) below its caption: wrapped, a few lines high, and scrolled within its
// own box when it has more lines, however long it is.
void addLongValue(QVBoxLayout* box, QWidget* parent, const QString& caption, const QString& objectName,
                  const QString& text)
{
    box->addWidget(new QLabel(caption, parent));
    auto* value = new QPlainTextEdit(text, parent);
    value->setObjectName(objectName);
    value->setReadOnly(true);
    value->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    value->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const QMargins margins = value->contentsMargins();
    value->setFixedHeight(value->fontMetrics().lineSpacing() * kLongValueLines +
                          int(2 * value->document()->documentMargin()) + margins.top() + margins.bottom());
    box->addWidget(value);
}

// The box's layout: a form, then the long values.
QFormLayout* formLayout(QGroupBox* box)
{
    auto* column = new QVBoxLayout(box);
    auto* form = new QFormLayout;
    column->addLayout(form);
    form->setLabelAlignment(Qt::AlignLeft);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setHorizontalSpacing(16);
    return form;
}

} // namespace

ViewerWindow::ViewerWindow(const WorkbookData& data, const QString& workingCopy, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("作業シート"));
    setWindowTitle(QStringLiteral("作業シート"));
    setFont(fonts::font(fonts::Face::Gothic, 9.75));

    // What was read lies in a scrolled area, so that the window fits the screen and its close button
    // stays on it whatever the database holds.
    auto* content = new QWidget;
    auto* heading = new QLabel(QStringLiteral("居宅サービス計画書　作業シート"), content);
    heading->setFont(fonts::font(fonts::Face::Gothic, 14));
    auto* explanation = new QLabel(
        QStringLiteral("計画書の作業ファイルが開かれたときにデータベースから読んだ内容です。"), content);

    auto* creatorBox = new QGroupBox(QStringLiteral("作成者"), content);
    QFormLayout* creator = formLayout(creatorBox);
    addValue(creator, QStringLiteral("ID"), QStringLiteral("作成者ID"),
             data.creatorId.isEmpty() ? kNone : data.creatorId);
    addValue(creator, QStringLiteral("名前"), QStringLiteral("名前"), data.creatorName);
    addValue(creator, QStringLiteral("ふりがな"), QStringLiteral("ふりがな"), data.creatorReading);
    if (!data.creatorNote.isEmpty())
        addValue(creator, QStringLiteral("注意"), QStringLiteral("作成者注意"), data.creatorNote);

    auto* displayBox = new QGroupBox(QStringLiteral("敬称・罫線・確認印"), content);
    QFormLayout* display = formLayout(displayBox);
    addValue(display, QStringLiteral("敬称"), QStringLiteral("敬称"), data.honorific);
    addValue(display, QStringLiteral("罫線"), QStringLiteral("罫線"), data.ruledLines);
    addValue(display, QStringLiteral("確認印の説明文表示"), QStringLiteral("説明文表示"), data.stamp);
    addLongValue(qobject_cast<QVBoxLayout*>(displayBox->layout()), displayBox, QStringLiteral("説明文"),
                 QStringLiteral("説明文"), data.stampSentence);

    auto* periodBox = new QGroupBox(QStringLiteral("期間入力方法"), content);
    QFormLayout* periods = formLayout(periodBox);
    for (const PeriodSetting& period : data.periods)
        addValue(periods, period.item, period.item, period.method);

    auto* fileBox = new QGroupBox(QStringLiteral("作業ファイル"), content);
    auto* file = new QVBoxLayout(fileBox);
    // A path may be longer than the box and has no place to wrap: it scrolls in a read-only box.
    auto* path = new QLineEdit(workingCopy, fileBox);
    path->setObjectName(QStringLiteral("作業ファイル"));
    path->setReadOnly(true);
    path->setCursorPosition(0);
    path->setToolTip(workingCopy);
    file->addWidget(path);
    if (!QFileInfo::exists(workingCopy))
        addLongValue(file, fileBox, QStringLiteral("注意"), QStringLiteral("作業ファイル注意"),
                     QStringLiteral("ファイルがありません"));

    auto* listBox = new QGroupBox(QStringLiteral("検索設定"), content);
    auto* table = new QTableWidget(int(data.lists.size()), 5, listBox);
    table->setObjectName(QStringLiteral("検索設定"));
    table->setHorizontalHeaderLabels({QStringLiteral("ID"), QStringLiteral("項目名"),
                                      QStringLiteral("抽出条件"), QStringLiteral("並べ替え項目"),
                                      QStringLiteral("表示順")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    table->setAlternatingRowColors(true);
    for (int row = 0; row < data.lists.size(); ++row) {
        const ListSetting& list = data.lists.at(row);
        const QStringList cells = {QString::number(list.id),
                                   list.deleted ? list.list + QStringLiteral("（削除済み）") : list.list,
                                   list.filter, list.sort, list.order};
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells.at(column));
            if (column == 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(row, column, item);
        }
    }
    table->resizeColumnsToContents();
    table->resizeRowsToContents();
    int tableHeight = table->horizontalHeader()->sizeHint().height() + 2 * table->frameWidth();
    for (int row = 0; row < table->rowCount(); ++row)
        tableHeight += table->rowHeight(row);
    table->setMinimumHeight(tableHeight);
    int tableWidth = 2 * table->frameWidth();
    for (int column = 0; column < table->columnCount(); ++column) {
        table->setColumnWidth(column, table->columnWidth(column) + 12);
        tableWidth += table->columnWidth(column);
    }
    table->setFixedWidth(tableWidth);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* lists = new QVBoxLayout(listBox);
    lists->addWidget(table);

    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("閉じる"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    // The window's one action has the keyboard: Enter or Space presses 閉じる, and Esc closes as well.
    close->setFocus();
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);

    auto* left = new QVBoxLayout;
    for (QGroupBox* box : {creatorBox, displayBox, periodBox, fileBox}) {
        box->setMinimumWidth(420);
        left->addWidget(box);
    }
    left->addStretch(1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addWidget(listBox, 0);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->addWidget(heading);
    contentLayout->addWidget(explanation);
    contentLayout->addSpacing(6);
    contentLayout->addLayout(columns, 1);

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("内容"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons);

    // The whole content on view where the screen has room for it; otherwise the screen's room (less the
    // window's frame, margins and button row), and the rest scrolls.
    const QMargins margins = layout->contentsMargins();
    const QSize chrome(margins.left() + margins.right() + 20, margins.top() + margins.bottom() +
                                                                  layout->spacing() +
                                                                  close->sizeHint().height() + 40);
    const QSize whole = content->sizeHint() + QSize(scroll->verticalScrollBar()->sizeHint().width(), 0);
    scroll->setMinimumSize(whole.boundedTo(screen()->availableGeometry().size() - chrome));
}
