// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class QLabel;
class QTimer;
namespace platform {
class Environment;
}

// The About window frmHelp: the product title and the installed version, shown like a splash panel. It
// stays above all windows, ignores the close box and closes at the first click, button press or release or
// mouse movement over its own surface (not over its labels), or 30 seconds after it was loaded. A closed
// window is deleted, so the next Help loads a fresh one.
class AboutWindow : public QWidget
{
    Q_OBJECT

public:
    // Timer1's interval.
    static constexpr int kTimeoutMilliseconds = 30000;
    // Label2's text before the version.
    static inline const QString kVersionPrefix = QStringLiteral("Ver.   ");

    // Loads the window: centres it on the screen, starts Timer1 and reads the installed version from the
    // registry (DisplayVersion under HKEY_LOCAL_MACHINE\SOFTWARE\Quenby\Hanacare). Not shown yet.
    explicit AboutWindow(const platform::Environment& environment);
    ~AboutWindow() override;

    // The start window's mnu_Help: loads and shows the About window, unless one is loaded already, in which
    // case nothing happens (it is neither reloaded nor is its timer restarted). Returns the loaded window.
    static AboutWindow* showOnce(const platform::Environment& environment);
    // The About window that is loaded now, or nullptr.
    static AboutWindow* loadedWindow();

    // Unloads the window as the program's own request (the close box cannot): stops Timer1 and closes the
    // window, which is deleted afterwards.
    void unload();
    // For the start window's unload, which ends the program: a loaded About window keeps the program
    // running until it is unloaded itself, and the program ends with it; then true is returned. With no
    // About window loaded, false: the caller ends the program. Until this is called an About window never
    // ends the program: it may close while the program's own windows are only hidden (during a workbook
    // run), and the program goes on.
    static bool endProgramWhenUnloaded();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* m_title = nullptr;   // Label5
    QLabel* m_version = nullptr; // Label2
    QTimer* m_timer = nullptr;   // Timer1
    bool m_unloading = false;
    bool m_endsProgram = false;
};
