// SPDX-License-Identifier: MIT
// What the harnesses share: the target list, failure reporting and the save rule for texts.

#include "FuzzHarness.h"

// own
#include "platform/Cp932.h"

#include <cstdio>
#include <cstdlib>

namespace Fuzz {

namespace {

    constexpr Target Targets[] = {
        { "tablefile", &RunTableFile },
        { "regfile", &RunRegFile },
        { "fontrecord", &RunFontRecord },
        { "cp932", &RunCp932 },
        { "savedgame", &RunSavedGame },
    };

} // namespace

QStringList TargetNames()
{
    QStringList names;
    for (const Target& t : Targets)
        names << QLatin1String(t.name);
    return names;
}

Harness FindTarget(const QString& name)
{
    for (const Target& t : Targets) {
        if (name == QLatin1String(t.name))
            return t.run;
    }
    return nullptr;
}

void RunOnRawData(Harness harness, const uint8_t* data, size_t size)
{
    // fromRawData keeps the caller's buffer: no copy with a terminating NUL that would
    // hide a read one byte past the end.
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    harness(input);
}

void Fail(const char* target, const QString& what)
{
    std::fprintf(stderr, "fuzz %s: %s\n", target, what.toLocal8Bit().constData());
    std::fflush(stderr);
    std::abort();
}

QString AsSaved(const QString& text)
{
    QString out = text;
    out.replace(QChar(QChar::ReplacementCharacter), QLatin1Char('?'));
    return out;
}

bool ReadsBackAs(const QString& written, const QString& read)
{
    const QString saved = AsSaved(written);
    if (saved.size() != read.size())
        return false;
    for (qsizetype i = 0; i < saved.size(); ++i) {
        if (saved.at(i) != read.at(i) && !(Cp932::IsRawByte(saved.at(i)) && read.at(i) == QLatin1Char('?')))
            return false;
    }
    return true;
}

} // namespace Fuzz
