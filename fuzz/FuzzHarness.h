// SPDX-License-Identifier: MIT
// The fuzz harnesses: one per reader of data the game did not write itself (the table
// file, the REGEDIT4 settings file, the font record, the Shift-JIS codec) or that may have
// been damaged since it wrote it (the saved game). Each runs what
// a load does with the bytes, uses the result as the game would, saves it and loads it
// again, and aborts with a message when anything does not hold. The glue that feeds them
// is separate: LibFuzzerMain.cpp for libFuzzer, ReplayMain.cpp for replaying files (the
// seed corpus as ordinary tests, or a crash in a debugger).
#pragma once

// Qt
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace Fuzz {

using Harness = void (*)(const QByteArray& input);

struct Target
{
    const char* name;
    Harness run;
};

void RunTableFile(const QByteArray& input);
void RunRegFile(const QByteArray& input);
void RunFontRecord(const QByteArray& input);
void RunCp932(const QByteArray& input);
void RunSavedGame(const QByteArray& input);

// "tablefile", "regfile", "fontrecord", "cp932", "savedgame".
QStringList TargetNames();
// The harness of that name, or null.
Harness FindTarget(const QString& name);

// Runs a harness over bytes it does not own (libFuzzer's buffer): the bytes are not
// copied, so reading past their end is caught by AddressSanitizer.
void RunOnRawData(Harness harness, const uint8_t* data, size_t size);

// Reports a broken expectation and aborts, so that libFuzzer keeps the input.
[[noreturn]] void Fail(const char* target, const QString& what);

// A text as it reads back after a save: a character code page 932 lacks, U+FFFD among
// them, is written as "?". (A text decoded from a file has none: its invalid bytes are
// kept as raw-byte characters, which are written back as those bytes.)
QString AsSaved(const QString& text);

// True when read is what a text written as written reads back as: AsSaved, except that a
// raw-byte character an edit has put before a byte it would join is read as "?".
bool ReadsBackAs(const QString& written, const QString& read);

} // namespace Fuzz

#define FUZZ_REQUIRE(target, condition, what)                                                                \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            ::Fuzz::Fail(target, QStringLiteral(#condition ": ") + (what));                                  \
    } while (false)
