// SPDX-License-Identifier: MIT
//
// hanaplan-viewer: the stand-in spreadsheet of systems without Excel. The installation registers it as the
// program that opens ".xls" files, so the launcher's shell stand-in starts it on the working copy of the
// plan workbook:
//
//   hanaplan-viewer <working copy>
//
// It reads what the workbook reads from the database, closes the database, and shows it in a window
// titled "作業シート" until that window is closed. It finds the database as the launcher does, with the
// environment variables ProgramFiles, LOCALAPPDATA, ALLUSERSPROFILE and HANAPLAN_REGISTRY (which the
// launcher passes on to it) and the launcher's folder as its program folder: HANAPLAN_PROGRAM_FOLDER when
// set, else ProgramFiles + "/Hanaplan", else the viewer's own folder.
//
// Exit status: 0 when its window was closed, 1 when the database could not be read, 2 for a wrong command
// line. Every failure is shown in a message box first.
#include "RuntimeError.h"
#include "database/DatabaseState.h"
#include "platform/Environment.h"
#include "platform/widgets/QtMessageBoxes.h"
#include "viewer/ViewerWindow.h"
#include "viewer/WorkbookData.h"

#include <QApplication>

namespace {

const QString kTitle = QStringLiteral("作業シート");

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QtMessageBoxes messageBoxes;
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() != 1 || arguments.first().isEmpty()) {
        messageBoxes.critical(kTitle, QStringLiteral("作業シートのファイルを一つ指定してください。\n\n"
                                                     "使い方: hanaplan-viewer <作業シートのパス>"));
        return 2;
    }

    const platform::Environment environment(ViewerProgramFolder(QCoreApplication::applicationDirPath()));
    DatabaseState database;
    WorkbookData data;
    try {
        data = LoadWorkbookData(database, environment);
    } catch (const RuntimeError& error) {
        messageBoxes.critical(kTitle,
                              QStringLiteral("データベースを読めませんでした。\n\n実行時エラー '%1':\n\n%2")
                                  .arg(error.number())
                                  .arg(error.description()));
        return 1;
    } catch (const std::exception& error) {
        messageBoxes.critical(kTitle, QStringLiteral("データベースを読めませんでした。\n\n%1")
                                          .arg(QString::fromLocal8Bit(error.what())));
        return 1;
    }

    ViewerWindow window(data, arguments.first());
    window.show();
    return app.exec();
}
