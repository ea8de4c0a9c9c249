// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

// A fixed picture of the workbook's period input panel under one of the three input methods. Every panel
// has a frame headed 期間 with a small number box at its top; what the frame holds depends on the method.
class PeriodPanelPicture : public QWidget
{
    Q_OBJECT

public:
    enum class Method {
        PeriodAndRange, // a from–to pair of boxes joined by a wave dash, then a drop-down list and a button
        PeriodOnly,     // a single box in place of the from–to pair, then the drop-down list and the button
        RangeOnly,      // the from–to pair only
    };

    explicit PeriodPanelPicture(QWidget* parent = nullptr);

    Method method() const { return m_method; }
    void setMethod(Method method);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Method m_method = Method::PeriodAndRange;
};
