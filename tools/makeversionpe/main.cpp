// SPDX-License-Identifier: MIT
// hanaplan-makeversionpe: writes a PE program file carrying a version resource.
#include "VersionPeWriter.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSaveFile>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a PE program file whose version resource carries the given versions."));
    parser.addHelpOption();
    const QCommandLineOption productVersion(QStringLiteral("product-version"),
                                            QStringLiteral("Product version a.b.c.d (required)."),
                                            QStringLiteral("version"));
    const QCommandLineOption fileVersion(
        QStringLiteral("file-version"),
        QStringLiteral("File version a.b.c.d (default: the product version)."), QStringLiteral("version"));
    const QCommandLineOption productName(QStringLiteral("product-name"), QStringLiteral("Product name."),
                                         QStringLiteral("text"));
    const QCommandLineOption description(QStringLiteral("description"), QStringLiteral("File description."),
                                         QStringLiteral("text"));
    const QCommandLineOption noVersion(
        QStringLiteral("no-version-resource"),
        QStringLiteral("Write a manifest resource instead of the version resource."));
    const QCommandLineOption sixtyFourBit(QStringLiteral("64"),
                                          QStringLiteral("Write a 64-bit (PE32+) file."));
    parser.addOptions({productVersion, fileVersion, productName, description, noVersion, sixtyFourBit});
    parser.addPositionalArgument(QStringLiteral("output"), QStringLiteral("The file to write."));
    parser.process(app);

    QTextStream err(stderr);
    const QStringList outputs = parser.positionalArguments();
    if (outputs.size() != 1 || (!parser.isSet(productVersion) && !parser.isSet(noVersion))) {
        err << "hanaplan-makeversionpe: give --product-version and one output file (see --help)\n";
        return 2;
    }

    versionpe::Options options;
    options.versionResource = !parser.isSet(noVersion);
    options.sixtyFourBit = parser.isSet(sixtyFourBit);
    if (parser.isSet(productVersion)) {
        const std::optional<versionpe::Version> version =
            versionpe::parseVersion(parser.value(productVersion));
        if (!version) {
            err << "hanaplan-makeversionpe: not a version: " << parser.value(productVersion) << '\n';
            return 2;
        }
        options.productVersion = options.fileVersion = *version;
    }
    if (parser.isSet(fileVersion)) {
        const std::optional<versionpe::Version> version = versionpe::parseVersion(parser.value(fileVersion));
        if (!version) {
            err << "hanaplan-makeversionpe: not a version: " << parser.value(fileVersion) << '\n';
            return 2;
        }
        options.fileVersion = *version;
    }
    if (parser.isSet(productName))
        options.productName = parser.value(productName);
    if (parser.isSet(description))
        options.fileDescription = parser.value(description);

    QSaveFile file(outputs.first());
    if (!file.open(QIODevice::WriteOnly) || file.write(versionpe::writeVersionPe(options)) < 0 ||
        !file.commit()) {
        err << "hanaplan-makeversionpe: cannot write " << outputs.first() << ": " << file.errorString()
            << '\n';
        return 1;
    }
    return 0;
}
