// SPDX-License-Identifier: MIT
#pragma once

#include "maintenance/MaintenanceWindow.h"

// Locks the creator page's actions (DisableCreatorControls) for the time of one action of the creator or
// master page, and unlocks them (EnableCreatorControls) on every way the action ends. unlock() ends the
// lock earlier, where the action then moves the focus to a control the lock holds disabled.
class CreatorPageLock
{
public:
    explicit CreatorPageLock(MaintenanceWindow& window) : m_window(window)
    {
        m_window.DisableCreatorControls();
    }
    ~CreatorPageLock() { unlock(); }
    CreatorPageLock(const CreatorPageLock&) = delete;
    CreatorPageLock& operator=(const CreatorPageLock&) = delete;

    void unlock()
    {
        if (m_locked) {
            m_locked = false;
            m_window.EnableCreatorControls();
        }
    }

private:
    MaintenanceWindow& m_window;
    bool m_locked = true;
};
