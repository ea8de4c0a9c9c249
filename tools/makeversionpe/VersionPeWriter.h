// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// Writes the smallest PE file Windows takes for a program file with version information: a DOS header, the
// PE headers of a 32-bit (PE32) or 64-bit (PE32+) GUI program without code, and one section ".rsrc" with the
// version resource (type 16, name 1, language Japanese) in VS_VERSIONINFO form, fixed part and string table
// included. The demo installation uses it for its stand-in spreadsheet, the tests for their Excel program
// files.
namespace versionpe {

// Four 16-bit parts, most significant first: 16.0.1.2.
using Version = std::array<quint16, 4>;

struct Options
{
    Version fileVersion{1, 0, 0, 0};
    Version productVersion{1, 0, 0, 0};
    QString productName = QStringLiteral("Spreadsheet");
    QString fileDescription = QStringLiteral("Spreadsheet");
    // Without it the file carries a manifest resource in place of the version resource.
    bool versionResource = true;
    // PE32+, as 64-bit programs are, in place of PE32.
    bool sixtyFourBit = false;
};

// Where the parts of the written file lie, for tests that damage it on purpose. The section table follows
// the optional header, which is 224 bytes long in PE32 and 240 in PE32+; the rest lies alike in both.
inline constexpr qsizetype kPeHeaderOffset = 0x40;
inline constexpr qsizetype kOptionalHeaderOffset = kPeHeaderOffset + 24;
inline constexpr qsizetype kSectionTableOffset = kOptionalHeaderOffset + 224; // PE32
inline constexpr qsizetype kResourceFileOffset = 0x200;
inline constexpr quint32 kResourceRva = 0x1000;
// The three directory levels (type, name, language), the data entry and the resource data, from the start
// of the resource section.
inline constexpr qsizetype kTypeDirectory = 0x00;
inline constexpr qsizetype kNameDirectory = 0x18;
inline constexpr qsizetype kLanguageDirectory = 0x30;
inline constexpr qsizetype kDataEntry = 0x48;
inline constexpr qsizetype kResourceData = 0x58;

// "a", "a.b", "a.b.c" or "a.b.c.d" with parts from 0 to 65535; missing parts are 0.
std::optional<Version> parseVersion(QStringView text);
// "a.b.c.d".
QString versionText(const Version& version);

// The contents of the file.
QByteArray writeVersionPe(const Options& options);

} // namespace versionpe
