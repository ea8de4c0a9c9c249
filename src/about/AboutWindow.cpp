// SPDX-License-Identifier: MIT
#include "about/AboutWindow.h"

#include "environment/GetRegistryValue.h"
#include "platform/widgets/Centre.h"
#include "platform/widgets/Fonts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Label5 and Label2 take their own mouse events, so that only the window's free surface closes it.
QLabel* makeLabel(const QString& objectName, const QFont& font, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setFont(font);
    label->setAttribute(Qt::WA_NoMousePropagation);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

AboutWindow::AboutWindow(const platform::Environment& environment)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Help"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);
    setFont(fonts::font(fonts::Face::Mincho, 9.75));
    // Plain mouse movements over the free surface close the window, not only those with a button held.
    setMouseTracking(true);

    m_title = makeLabel(QStringLiteral("Label5"), fonts::font(fonts::Face::Gothic, 18), this);
    m_title->setText(QStringLiteral("Hanaplan　作成システム"));
    m_version = makeLabel(QStringLiteral("Label2"), fonts::font(fonts::Face::Mincho, 9), this);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setFixedWidth(m_title->sizeHint().width());

    // The title centred with a rule below it, the version under the rule's right end. The labels take no
    // more room than their text, so that the rest of the window is its own surface.
    constexpr int margin = 36;
    auto* versionRow = new QHBoxLayout;
    versionRow->addStretch(1);
    versionRow->addWidget(m_version);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(margin, 30, margin, 26);
    layout->setSpacing(10);
    layout->addStretch(1);
    layout->addWidget(m_title, 0, Qt::AlignHCenter);
    layout->addWidget(rule, 0, Qt::AlignHCenter);
    layout->addLayout(versionRow);
    layout->addStretch(1);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &AboutWindow::unload);

    // The version is set before the size is fixed, so that a long value is not cut off.
    m_version->setText(kVersionPrefix + GetRegistryValue(environment, platform::RegistryRoot::LocalMachine,
                                                         QStringLiteral("SOFTWARE\\Quenby\\Hanacare\\"),
                                                         QStringLiteral("DisplayVersion")));
    const QSize hint = layout->totalSizeHint();
    setFixedSize(qMax(hint.width(), 420), qMax(hint.height(), 170));
    // The version ends under the rule's right end; one longer than the room left of it ends further right.
    const int room = width() - 2 * margin;
    versionRow->addSpacing(
        qBound(0, (room - m_title->sizeHint().width()) / 2, room - m_version->sizeHint().width()));

    centre::onScreen(*this);
    m_timer->setInterval(kTimeoutMilliseconds);
    m_timer->start();
}

AboutWindow::~AboutWindow() = default;

AboutWindow* AboutWindow::loadedWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = qobject_cast<AboutWindow*>(widget);
        if (window && !window->m_unloading)
            return window;
    }
    return nullptr;
}

AboutWindow* AboutWindow::showOnce(const platform::Environment& environment)
{
    if (AboutWindow* window = loadedWindow())
        return window;
    auto* window = new AboutWindow(environment);
    // Shown without being modal; the start window stays usable. Once shown, the window's frame is known,
    // and the whole window, frame included, is centred.
    window->show();
    centre::onScreen(*window);
    return window;
}

void AboutWindow::unload()
{
    if (m_unloading)
        return;
    m_unloading = true;
    close();
}

bool AboutWindow::endProgramWhenUnloaded()
{
    AboutWindow* window = loadedWindow();
    if (window)
        window->m_endsProgram = true;
    return window != nullptr;
}

void AboutWindow::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    unload();
}

void AboutWindow::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    unload();
}

void AboutWindow::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    unload();
}

void AboutWindow::closeEvent(QCloseEvent* event)
{
    // A request from the window system (the close box, the window menu, Alt+F4) is refused; the program's
    // own requests go through.
    if (!m_unloading && event->spontaneous()) {
        event->ignore();
        return;
    }
    m_unloading = true;
    m_timer->stop();
    event->accept();
    if (m_endsProgram)
        QCoreApplication::exit(0);
}
