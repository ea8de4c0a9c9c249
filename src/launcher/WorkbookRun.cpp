// SPDX-License-Identifier: MIT
#include "launcher/WorkbookRun.h"

#include "database/Database.h"
#include "launcher/Main.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"

namespace {

const QString kTitle = QStringLiteral("EXCELチェック");

} // namespace

QString ShellFailureMessage(int result)
{
    switch (result) {
    case platform::Shell::OutOfMemory:
        return QStringLiteral("メモリまたはリソースが足りません。");
    case platform::Shell::FileNotFound:
        return QStringLiteral("ファイルが見つかりません。");
    case platform::Shell::PathNotFound:
        return QStringLiteral("パスが見つかりません。");
    case platform::Shell::AccessDenied:
        return QStringLiteral("アクセスは拒否されました。");
    case platform::Shell::BadFormat:
        return QStringLiteral("不正な形式の実行ファイルです。");
    case platform::Shell::IncompleteAssociation:
        return QStringLiteral("関連付けが不完全です。");
    case platform::Shell::NoAssociation:
        return QStringLiteral("関連付けが指定されていません。");
    default:
        return QStringLiteral("ファイルを開けません。");
    }
}

void RunWorkbook(Main& main)
{
    const platform::Environment& environment = main.services.environment;
    main.WorkbookSourcePath = environment.programFolder() + kWorkbookFileName;
    main.WorkbookCopyPath = environment.allUsersProfile() + kWorkingCopyFileName;

    platform::removeFileIfPresent(main.WorkbookCopyPath);
    const QString copy = platform::nativePath(main.WorkbookCopyPath);
    platform::copyFile(platform::nativePath(main.WorkbookSourcePath), copy);
    platform::setFileAttributes(copy, platform::FileAttribute::Hidden | platform::FileAttribute::System);

    const int result = main.services.shell->open(copy);
    if (result <= 32)
        main.services.messageBoxes->critical(kTitle, ShellFailureMessage(result));
    else
        main.services.shell->waitForOpenedProgram();

    // Whatever the spreadsheet saved into the copy is discarded.
    platform::removeFileIfPresent(main.WorkbookCopyPath);

    // On a system-wide installation the user may not change these files; they are read-only to the user
    // there already, and hidden and system are advisory, so a refusal is no failure.
    platform::trySetFileAttributes(platform::nativePath(environment.programFolder() + kDatabaseFileName),
                                   platform::FileAttribute::Hidden | platform::FileAttribute::System);
    platform::trySetFileAttributes(platform::nativePath(main.WorkbookSourcePath),
                                   platform::FileAttribute::ReadOnly | platform::FileAttribute::Hidden |
                                       platform::FileAttribute::System);
    OpenDatabase(main.database, environment);
}
