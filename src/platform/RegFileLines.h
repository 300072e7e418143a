// SPDX-License-Identifier: MIT
// The lines of the settings file, in the format of a regedit export (REGEDIT4): what a line
// says, and how a line is written. Pure functions on bytes; which lines make up a key, and
// which are kept as they were read, is the parsed file's business (RegFileDocument.h), and the
// file itself the backend's (RegistryFile.h).
//
//   REGEDIT4                                       the first line
//   [HKEY_CURRENT_USER\Software\Brimwell\TESRIK]   a key header
//   "TimeE"="30"                                   a text value (REG_SZ)
//   @="default value"                              the key's default value
//   "Count"=dword:0000001e                         a REG_DWORD
//   "Blob"=hex:01,02,ff                            a REG_BINARY
//   "Path"=hex(2):25,54,45,4d,50,\                 any other type: hex(type) of its bytes,
//     25,00                                        continued over indented lines
//
// Contract of the readers: any byte sequence is read without a crash, and what does not
// read exactly is not a value - nothing is ever read as a value the line does not spell out
// whole. In quoted names and texts only \\ and \" are escapes, and a Shift-JIS character is
// taken whole, so a trail byte 0x5C is never read as one. Numbers must be whole (eight
// digits of a dword, two per hex byte), so a line cut short inside a number is refused
// rather than read as another value. A value line ending in "\" goes on at the next line
// only when that line is an indented line of hex bytes; anything else (a header, a value
// line, a blank line) leaves it dangling, and then it is no value.
//
// Contract of the writers: a text value is written "quoted" with \\ and \" escapes when the
// quoted form reads back as exactly its bytes; a text it cannot carry (a CR, an LF, a NUL
// inside it, no closing NUL, stray Shift-JIS bytes) is written as hex(1), so its bytes
// survive unchanged. REG_EXPAND_SZ and every other type are written as hex(n) of their
// bytes: for the text types these are the Shift-JIS bytes with their NUL, as a REGEDIT4
// export holds them (the UTF-16 form belongs to the later "Version 5.00" files). Long hex
// data is continued over lines ending in "\", none longer than 77 characters, as regedit's.
// Lines end in CR LF.
#pragma once

#include "platform/Registry.h"

// Qt
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

namespace RegFile {

// The first line of a file, and the line break every line is written with.
inline constexpr char FirstLine[] = "REGEDIT4";
inline constexpr char Eol[] = "\r\n";

// "HKEY_CURRENT_USER\<path>", or the hive alone for "": the key as headers and messages
// name it.
QString KeyText(const QString& path);

// A name the file can hold exactly: Shift-JIS can spell it and it stays on one line.
bool Representable(const QString& name);

// What a header line says, blanks around it already taken off.
struct Header
{
    bool user = false; // a valid [HKEY_CURRENT_USER...] header: its values are visible
    QString path; // relative to HKEY_CURRENT_USER, "" for the hive itself
};
Header ReadHeader(QByteArrayView trimmed);
// The header line of a key of HKEY_CURRENT_USER, without line ending.
QByteArray FormatHeader(const QString& path);

// The file cut at its header lines: the lines before the first header, then each header
// line with the lines up to the next header. A header is a line whose first character but
// blanks is "[": nothing else can start with it, not even the continuation of a hex value,
// so the headers are found without reading the lines between them. Views into bytes.
struct Cut
{
    struct Part
    {
        QByteArrayView header; // the whole line, without its line break
        QByteArrayView body; // from the line break that ends the header on
    };
    QByteArrayView head;
    QList<Part> parts;
};
Cut CutAtHeaders(const QByteArray& bytes);

// A value as the file holds it: a value line and the lines a hex value is continued over.
struct ValueLines
{
    QByteArray raw; // the lines as read, CR LF between
    std::optional<QString> name; // when it could be read
    std::optional<RegValue> value; // when the whole value reads
};
// True for a line that is meant as a value: it starts with the quote of a name or with
// "@". The line is not blank, and the blanks around it are taken off.
bool IsValueLine(QByteArrayView trimmed);
// Reads the value line lines[at] and the continuation lines after it; at moves to the last
// line it took.
ValueLines ReadValueLines(const QList<QByteArrayView>& lines, qsizetype& at);

// The value line for a name and value ("name"=... or @=...), without line ending.
QByteArray FormatValue(const QString& name, const RegValue& value);

// True when the last line of text ends in "\" (blanks after it aside): a value that would
// go on at the next line.
bool EndsInContinuation(QByteArrayView text);

// Lines up to the end of the last that is not blank.
QByteArrayView WithoutTrailingBlankLines(QByteArrayView text);

} // namespace RegFile
