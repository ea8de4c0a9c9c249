// SPDX-License-Identifier: MIT
#include "Main.h"
#include "RuntimeError.h"
#include "database/Database.h"
#include "database/SchemaUpgrade.h"

#include <QApplication>
#include <QMessageBox>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Main program(QCoreApplication::applicationDirPath());
    try {
        // Until the operating system is identified, the program takes the code of NT 10.0, which is what
        // the identification gives on a system that reports nothing else.
        program.WindowsVersionCode = 3000;
        OpenDatabase(program);
        UpgradeSchema(program);
        QTextStream(stdout) << "Hanaplan: database ready: " << program.DbConnection->databaseFile() << '\n';
        CloseDatabase(program);
        return 0;
    } catch (const RuntimeError& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Hanaplan"),
                              QStringLiteral("実行時エラー '%1':\n\n%2").arg(error.number()).arg(error.description()));
        return 1;
    }
}
