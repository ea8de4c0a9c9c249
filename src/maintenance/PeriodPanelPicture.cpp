// SPDX-License-Identifier: MIT
#include "maintenance/PeriodPanelPicture.h"

#include "platform/widgets/Fonts.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int PictureWidth = 184;
constexpr int PictureHeight = 104;

// A white text box with a sunken edge and an optional text, as the workbook's cells look.
void drawBox(QPainter& p, const QPalette& palette, const QRect& r, const QString& text = {},
             Qt::Alignment alignment = Qt::AlignLeft)
{
    p.setPen(palette.color(QPalette::Dark));
    p.setBrush(palette.color(QPalette::Base));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    if (!text.isEmpty()) {
        p.setPen(palette.color(QPalette::Text));
        p.drawText(r.adjusted(3, 0, -3, 0), int(alignment | Qt::AlignVCenter), text);
    }
}

// A raised button face with a caption.
void drawButton(QPainter& p, const QPalette& palette, const QRect& r, const QString& caption)
{
    p.setPen(palette.color(QPalette::Dark));
    p.setBrush(palette.color(QPalette::Button));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setPen(palette.color(QPalette::Light));
    p.drawLine(r.left() + 1, r.top() + 1, r.right() - 2, r.top() + 1);
    p.drawLine(r.left() + 1, r.top() + 1, r.left() + 1, r.bottom() - 2);
    p.setPen(palette.color(QPalette::ButtonText));
    p.drawText(r, Qt::AlignCenter, caption);
}

// A drop-down list: a box with the arrow button at its right end.
void drawDropDown(QPainter& p, const QPalette& palette, const QRect& r, const QString& text)
{
    drawBox(p, palette, r, text);
    const QRect arrowButton(r.right() - r.height() + 2, r.top() + 1, r.height() - 2, r.height() - 2);
    drawButton(p, palette, arrowButton, QString());
    const QPointF c = QRectF(arrowButton).center();
    QPainterPath arrow;
    arrow.moveTo(c.x() - 3.5, c.y() - 1.5);
    arrow.lineTo(c.x() + 3.5, c.y() - 1.5);
    arrow.lineTo(c.x(), c.y() + 2.5);
    arrow.closeSubpath();
    p.fillPath(arrow, palette.color(QPalette::ButtonText));
}

} // namespace

PeriodPanelPicture::PeriodPanelPicture(QWidget* parent) : QWidget(parent)
{
    setFixedSize(PictureWidth, PictureHeight);
    setFont(fonts::font(fonts::Face::Gothic, 8));
}

void PeriodPanelPicture::setMethod(Method method)
{
    m_method = method;
    update();
}

QSize PeriodPanelPicture::sizeHint() const
{
    return {PictureWidth, PictureHeight};
}

void PeriodPanelPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();

    // The picture's own single border around the window-coloured panel.
    p.setPen(pal.color(QPalette::Mid));
    p.setBrush(pal.color(QPalette::Window));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect inside = rect().adjusted(1, 1, -1, -1);

    // The panel's frame, headed 期間, with the small number box on its top edge.
    const QFontMetrics fm(font());
    const int headTop = inside.top() + 6;
    const int headHeight = fm.height() + 2;
    const QRect frame(inside.left() + 8, headTop + headHeight / 2, inside.width() - 16,
                      inside.bottom() - 6 - (headTop + headHeight / 2));
    p.setPen(pal.color(QPalette::Dark));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame);

    const QString heading = QStringLiteral("期間");
    const QRect headingRect(frame.left() + 8, headTop, fm.horizontalAdvance(heading) + 6, headHeight);
    const QRect numberBox(headingRect.right() + 3, headTop, fm.horizontalAdvance(QStringLiteral("00")) + 8,
                          headHeight);
    p.fillRect(headingRect.united(numberBox).adjusted(0, 0, 3, 0), pal.color(QPalette::Window));
    p.setPen(pal.color(QPalette::WindowText));
    p.drawText(headingRect, Qt::AlignCenter, heading);
    drawBox(p, pal, numberBox, QStringLiteral("1"), Qt::AlignRight);

    // The frame's contents in one or two rows.
    const int rowHeight = fm.height() + 4;
    const int left = frame.left() + 8;
    const int right = frame.right() - 7;
    const int firstRow = numberBox.bottom() + 8;
    const int secondRow = firstRow + rowHeight + 7;

    if (m_method == Method::PeriodOnly) {
        drawBox(p, pal, QRect(left, firstRow, right - left + 1, rowHeight), QStringLiteral("6ヶ月"));
    } else {
        const QString dash = QStringLiteral("〜");
        const int dashWidth = fm.horizontalAdvance(dash) + 6;
        const int boxWidth = (right - left + 1 - dashWidth) / 2;
        drawBox(p, pal, QRect(left, firstRow, boxWidth, rowHeight), QStringLiteral("H17.10"));
        p.setPen(pal.color(QPalette::WindowText));
        p.drawText(QRect(left + boxWidth, firstRow, dashWidth, rowHeight), Qt::AlignCenter, dash);
        drawBox(p, pal, QRect(right + 1 - boxWidth, firstRow, boxWidth, rowHeight), QStringLiteral("H18.3"));
    }

    if (m_method != Method::RangeOnly) {
        const QString caption = QStringLiteral("選択");
        const int buttonWidth = fm.horizontalAdvance(caption) + 14;
        drawDropDown(p, pal, QRect(left, secondRow, right - left + 1 - buttonWidth - 6, rowHeight),
                     QStringLiteral("6ヶ月"));
        drawButton(p, pal, QRect(right + 1 - buttonWidth, secondRow, buttonWidth, rowHeight), caption);
    }
}
