// SPDX-License-Identifier: MIT
#pragma once

#include "viewer/WorkbookData.h"

#include <QWidget>

// The stand-in spreadsheet's one window, "作業シート": what the plan workbook read from the database when
// it opened, and the working copy it was started on.
class ViewerWindow : public QWidget
{
    Q_OBJECT

public:
    ViewerWindow(const WorkbookData& data, const QString& workingCopy, QWidget* parent = nullptr);
};
