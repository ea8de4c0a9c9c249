// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>

// A label drawn like a text box: right-aligned text on the window background colour (the colour of text
// boxes) inside the sunken border the style gives text boxes. It cannot be edited; it reports a
// double-click with the left button.
class FieldLabel : public QLabel
{
    Q_OBJECT

public:
    explicit FieldLabel(QWidget* parent = nullptr);

Q_SIGNALS:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
