// SPDX-License-Identifier: MIT
#include "maintenance/CreatorActions.h"

#include "database/DatabaseState.h"
#include "database/Transaction.h"
#include "database/Values.h"
#include "maintenance/CreatorList.h"
#include "maintenance/CreatorPageLock.h"
#include "maintenance/CreatorSearchBox.h"
#include "maintenance/FieldLabel.h"
#include "maintenance/MaintenanceState.h"
#include "maintenance/MaintenanceWindow.h"
#include "platform/MessageBoxes.h"

#include "ui_CreatorPage.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString kTitle = QStringLiteral("作成者");
const QString kNewCaption = QStringLiteral("新規登録");
const QString kChangeCaption = QStringLiteral("変更");

// Assigns an optional field. A new creator's row gets only the fields that hold text, the rest stay
// null. On a change an emptied field is stored as null, so that a value can be removed; the empty text
// itself is never written.
void setOptional(SharedRecordset& rs, const QString& column, const QLineEdit* box, bool isChange)
{
    if (!box->text().isEmpty())
        rs.setField(column, box->text());
    else if (isChange)
        rs.setField(column, QVariant());
}

} // namespace

CreatorActions::CreatorActions(DatabaseState& database, MaintenanceState& state,
                               platform::MessageBoxes& messages, MaintenanceWindow& window)
    : QObject(&window), m_database(database), m_state(state), m_messages(messages), m_window(window),
      m_page(window.creatorPage())
{
    connect(m_page.検索開始, &QPushButton::clicked, this, &CreatorActions::on検索開始Clicked);
    // picked is the user's choice from the list only: neither typed text nor the program's own changes to
    // the box's items and text send it.
    connect(m_page.作成者検索, &CreatorSearchBox::picked, this, &CreatorActions::on作成者検索Activated);
    connect(m_page.作成者登録, &QPushButton::clicked, this, &CreatorActions::on作成者登録Clicked);
    connect(m_page.登録番号, &FieldLabel::doubleClicked, this, &CreatorActions::on登録番号DoubleClicked);
}

QString CreatorActions::creatorGoneOnChangeText()
{
    return QStringLiteral("この作成者は削除されているため、変更できません。\r\n"
                          "入力内容はそのまま残してあります。新しい作成者として登録する場合は、"
                          "もう一度「新規登録」を押して下さい。");
}

QString CreatorActions::creatorGoneOnDeleteText()
{
    return QStringLiteral("この作成者は既に削除されています。");
}

std::optional<qint32> CreatorActions::loadedCreatorId() const
{
    bool ok = false;
    const qint32 id = m_page.登録番号->text().toInt(&ok);
    return ok ? std::optional<qint32>(id) : std::nullopt;
}

bool CreatorActions::openLiveCreator(qint32 id)
{
    SharedRecordset& rs = *m_database.SharedRecordset;
    rs.open(QStringLiteral("作成者 WHERE ID=") + QString::number(id), *m_database.DbConnection);
    if (!rs.eof() && rs.field(QStringLiteral("削除日")).isNull())
        return true;
    rs.release();
    return false;
}

void CreatorActions::resetPageForNewCreator()
{
    QComboBox* list = m_page.作成者検索;
    list->setCurrentIndex(0);
    list->setEditText(kChooseCreatorItem);
    // The page now stands for a new creator, and its save button says so.
    m_page.作成者登録->setText(kNewCaption);
    m_window.clearCreatorFields();
    m_window.maskPasswords();
}

void CreatorActions::on検索開始Clicked()
{
    CreatorPageLock lock(m_window);

    qint16 mode = 0;
    if (m_page.検索条件氏名->isChecked()) {
        if (m_page.検索氏名->text().isEmpty()) {
            m_messages.critical(kTitle, QStringLiteral("検索する氏名を入力して下さい。"));
            return;
        }
        mode = 1;
    } else if (m_page.検索条件フリガナ->isChecked()) {
        if (m_page.検索フリガナ->text().isEmpty()) {
            m_messages.critical(kTitle, QStringLiteral("検索するフリガナを入力して下さい。"));
            return;
        }
        mode = 2;
    }
    m_state.CreatorSearchMode = mode;

    m_page.作成者登録->setText(kNewCaption);
    m_window.clearCreatorFields();
    m_window.maskPasswords();
    FillCreatorList(m_database, m_state, m_messages, m_window);
}

void CreatorActions::on作成者検索Activated(int index)
{
    CreatorPageLock lock(m_window);

    const std::vector<CreatorEntry>& entries = m_state.CreatorEntries;
    if (index > 0 && size_t(index) < entries.size()) {
        const CreatorEntry& entry = entries[size_t(index)];
        m_page.作成者登録->setText(kChangeCaption);
        m_page.登録番号->setText(QString::number(entry.ID));
        m_page.氏名->setText(entry.名前);
        m_page.郵便番号->setText(entry.郵便番号);
        m_page.ふりがな->setText(entry.ふりがな);
        m_page.住所->setText(entry.住所);
        m_page.自宅電話->setText(entry.電話);
        m_page.携帯電話->setText(entry.携帯電話);
        m_page.fax番号->setText(entry.fax);
        m_page.パスワード->setText(entry.password);
    } else if (index == 0) {
        m_page.作成者登録->setText(kNewCaption);
        m_window.clearCreatorFields();
    }
    m_window.maskPasswords();
}

void CreatorActions::on作成者登録Clicked()
{
    m_page.作成者終了->setFocus();
    CreatorPageLock lock(m_window);

    if (m_page.氏名->text().isEmpty() || m_page.ふりがな->text().isEmpty() ||
        m_page.パスワード->text().isEmpty()) {
        m_messages.critical(kTitle, QStringLiteral("必須事項を入力して下さい。"));
        lock.unlock();
        m_page.作成者終了->setFocus();
        return;
    }

    SharedRecordset& rs = *m_database.SharedRecordset;
    const bool isChange = !m_page.登録番号->text().isEmpty();
    if (isChange) {
        // A change. The creator may have gone since the list was read: deleted here or by another program
        // on the same file. It is then neither brought back to life nor recreated behind the user's back;
        // the typed texts stay, and the page turns into a new creator so that they can be registered.
        const std::optional<qint32> id = loadedCreatorId();
        if (!id || !openLiveCreator(*id)) {
            m_messages.critical(kTitle, creatorGoneOnChangeText());
            FillCreatorList(m_database, m_state, m_messages, m_window);
            m_page.登録番号->clear();
            m_page.作成者登録->setText(kNewCaption);
            lock.unlock();
            m_page.作成者終了->setFocus();
            return;
        }
    } else {
        rs.open(QStringLiteral("作成者"), *m_database.DbConnection);
        rs.addNew();
        rs.setField(QStringLiteral("作成日"), values::now());
    }

    {
        Transaction save(*m_database.DbConnection, rs);
        rs.setField(QStringLiteral("password"), m_page.パスワード->text());
        rs.setField(QStringLiteral("名前"), m_page.氏名->text());
        rs.setField(QStringLiteral("ふりがな"), m_page.ふりがな->text());
        setOptional(rs, QStringLiteral("郵便番号"), m_page.郵便番号, isChange);
        setOptional(rs, QStringLiteral("住所"), m_page.住所, isChange);
        setOptional(rs, QStringLiteral("電話"), m_page.自宅電話, isChange);
        setOptional(rs, QStringLiteral("携帯電話"), m_page.携帯電話, isChange);
        setOptional(rs, QStringLiteral("fax"), m_page.fax番号, isChange);
        rs.setField(QStringLiteral("更新日"), values::now());
        rs.update();
        rs.release();
        save.commit();
    }

    FillCreatorList(m_database, m_state, m_messages, m_window);
    resetPageForNewCreator();
    lock.unlock();
    m_page.作成者終了->setFocus();
}

void CreatorActions::on登録番号DoubleClicked()
{
    if (m_page.登録番号->text().isEmpty())
        return;
    CreatorPageLock lock(m_window);

    using Boxes = platform::MessageBoxes;
    const Boxes::Answer answer = m_messages.show(
        {Boxes::Icon::Critical, Boxes::Buttons::OkCancel, Boxes::Answer::Cancel, QStringLiteral("作成者削除"),
         QStringLiteral("この作成者を削除します。\r\nよろしいですか。")});
    if (answer != Boxes::Answer::Ok)
        return;

    // A creator that is already gone keeps its first deletion date; the user is told, and the page ends
    // as after a deletion.
    const std::optional<qint32> id = loadedCreatorId();
    if (id && openLiveCreator(*id)) {
        SharedRecordset& rs = *m_database.SharedRecordset;
        rs.setField(QStringLiteral("削除日"), values::now());
        rs.update();
        rs.release();
    } else {
        m_messages.information(kTitle, creatorGoneOnDeleteText());
    }

    FillCreatorList(m_database, m_state, m_messages, m_window);
    resetPageForNewCreator();
}
