// SPDX-License-Identifier: MIT
#include "maintenance/CreatorSearchBox.h"

#include <QKeyEvent>
#include <QScopedValueRollback>

namespace {

// The keys with which the box moves through its list without opening it.
bool movesThroughTheList(const QKeyEvent* key)
{
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

} // namespace

CreatorSearchBox::CreatorSearchBox(QWidget* parent) : QComboBox(parent)
{
    // Qt's box sends activated also for typed text that matches an item, when Enter is pressed or the
    // focus leaves the box; those come while it handles that key or the focus change.
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (!m_handlingTypedText)
            Q_EMIT picked(index);
    });
}

bool CreatorSearchBox::event(QEvent* event)
{
    bool typed = false;
    switch (event->type()) {
    case QEvent::KeyPress:
        typed = !movesThroughTheList(static_cast<QKeyEvent*>(event));
        break;
    case QEvent::FocusOut:
    case QEvent::InputMethod:
        typed = true;
        break;
    default:
        break;
    }
    const QScopedValueRollback<bool> handling(m_handlingTypedText, m_handlingTypedText || typed);
    return QComboBox::event(event);
}
