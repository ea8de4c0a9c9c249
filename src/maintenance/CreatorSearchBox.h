// SPDX-License-Identifier: MIT
#pragma once

#include <QComboBox>

// The creator list 作成者検索: an editable drop-down box whose picked() says that the user chose an item
// from the list, with the mouse in the open list or the wheel, or with the arrow and page keys. Text
// typed into the box is no choice, even when it equals an item: the Enter key or leaving the box with
// Tab after typing, on which Qt's box would report the item as activated, pick nothing. The program's
// own changes to the items and the text send nothing either.
class CreatorSearchBox : public QComboBox
{
    Q_OBJECT

public:
    explicit CreatorSearchBox(QWidget* parent = nullptr);

Q_SIGNALS:
    // index is the position of the chosen item.
    void picked(int index);

protected:
    bool event(QEvent* event) override;

private:
    // True while the box handles typing or the loss of the focus.
    bool m_handlingTypedText = false;
};
