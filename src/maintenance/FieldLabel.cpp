// SPDX-License-Identifier: MIT
#include "maintenance/FieldLabel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {

QStyleOptionFrame panelOption(const QWidget* widget)
{
    QStyleOptionFrame panel;
    panel.initFrom(widget);
    panel.lineWidth = widget->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &panel, widget);
    panel.midLineWidth = 0;
    panel.state |= QStyle::State_Sunken;
    return panel;
}

} // namespace

FieldLabel::FieldLabel(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setTextFormat(Qt::PlainText);
    setBackgroundRole(QPalette::Base);
    setForegroundRole(QPalette::Text);
    const int frame = panelOption(this).lineWidth;
    setContentsMargins(frame + 3, frame + 1, frame + 3, frame + 1);
}

void FieldLabel::paintEvent(QPaintEvent* event)
{
    {
        QPainter p(this);
        const QStyleOptionFrame panel = panelOption(this);
        p.fillRect(rect().adjusted(1, 1, -1, -1), palette().brush(QPalette::Base));
        style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &p, this);
    }
    QLabel::paintEvent(event);
}

void FieldLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        event->accept();
        Q_EMIT doubleClicked();
        return;
    }
    QLabel::mouseDoubleClickEvent(event);
}
