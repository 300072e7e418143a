// SPDX-License-Identifier: MIT
// The settings file's lookups: the name hash agrees with the registry's name comparison, the
// indexes of a parsed file agree with a plain search of its lines through every kind of
// change, and a kept parse is never used for a file that has changed since.

// Qt
#include <QRandomGenerator>
#include <QTemporaryDir>
// GoogleTest
#include <gtest/gtest.h>

#include "TestFiles.h"

// own
#include "platform/Cp932.h"
#include "platform/Registry.h"
#include "platform/RegFileDocument.h"
#include "platform/RegistryFile.h"
#include "RegValuePrinter.h"

namespace {

// Units whose case folding is irregular, among plain ones: the hash must follow the
// comparison exactly, surrogate pairs included.
const QString Alphabet = QStringLiteral("aAbBzZ09_\\ ßẞſsSKkKİıiIΣσςΩωΩǅǄǆＡａ甲ｶ")
    + QString::fromUcs4(U"\U00010400\U00010428\U0001D400");

QString RandomName(QRandomGenerator& rng, qsizetype maxLength)
{
    QString name;
    const qsizetype length = rng.bounded(1, int(maxLength) + 1);
    while (name.size() < length) {
        const qsizetype i = rng.bounded(int(Alphabet.size()));
        name += Alphabet.at(i);
        // A pair stays whole, except now and then, to mix in lone surrogates.
        if (Alphabet.at(i).isHighSurrogate() && rng.bounded(8) > 0)
            name += Alphabet.at(i + 1);
    }
    return name;
}

// The same name in another mix of cases, letter by letter.
QString Recased(QRandomGenerator& rng, const QString& name)
{
    QString out;
    for (const QChar c : name) {
        const int pick = rng.bounded(3);
        out += pick == 0 ? c.toUpper() : pick == 1 ? c.toLower() : c;
    }
    return out;
}

TEST(RegistryNameHash, NamesThatCompareEqualHashEqual)
{
    for (char32_t u = 0; u <= 0xFFFF; ++u) {
        const QString one = QChar(char16_t(u));
        for (const char32_t other : { QChar::toUpper(u), QChar::toLower(u), QChar::toCaseFolded(u) }) {
            const QString two = QChar(char16_t(other));
            if (RegPath::SameName(one, two)) {
                ASSERT_EQ(RegPath::NameHash(one), RegPath::NameHash(two)) << "U+" << std::hex << quint32(u);
            }
        }
    }
    const quint32 seed = QRandomGenerator::global()->generate();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    QRandomGenerator rng(seed);
    int equalPairs = 0;
    for (int round = 0; round < 20000; ++round) {
        const QString a = RandomName(rng, 6);
        const QString b = rng.bounded(2) ? Recased(rng, a) : RandomName(rng, 6);
        if (!RegPath::SameName(a, b))
            continue;
        ++equalPairs;
        ASSERT_EQ(RegPath::NameHash(a, 7), RegPath::NameHash(b, 7))
            << a.toStdString() << " / " << b.toStdString();
    }
    EXPECT_GT(equalPairs, 5000);
}

// The lookups without an index: a search of every section and line, as a plain reader of
// the file would do it.
const RegFile::Entry* SearchValue(const RegFile::Document& doc, const QString& path, const QString& name)
{
    for (const RegFile::Section& s : doc.Sections()) {
        if (!s.user || !RegPath::SameName(s.path, path))
            continue;
        for (const RegFile::Entry& e : s.entries) {
            if (e.parsed && RegPath::SameName(*e.name, name))
                return &e;
        }
        return nullptr;
    }
    return nullptr;
}

bool SearchKey(const RegFile::Document& doc, const QString& path)
{
    for (const RegFile::Section& s : doc.Sections()) {
        if (s.user && (path.isEmpty() || RegPath::SameName(s.path, path)
                          || RegPath::SameName(s.path.left(path.size() + 1), path + QLatin1Char('\\'))))
            return true;
    }
    return path.isEmpty();
}

TEST(RegistryIndex, LookupsAgreeWithAPlainSearchThroughEveryChange)
{
    const quint32 seed = QRandomGenerator::global()->generate();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    QRandomGenerator rng(seed);
    const QStringList keys = { "", "A", "a\\B", "A\\b\\C", "D", "d\\E" };
    // Names the file can hold, so that a written value reads back under its name.
    const QStringList names = { "", "v", "w", QStringLiteral("Σ"), QStringLiteral("Ж"), QStringLiteral("Ａ"),
        QStringLiteral("甲") };
    auto pick = [&](const QStringList& list) { return Recased(rng, list.at(rng.bounded(int(list.size())))); };
    for (int round = 0; round < 200; ++round) {
        // A file with duplicated sections, duplicated and damaged values, to start from.
        QByteArray text = "REGEDIT4\r\n";
        for (int i = rng.bounded(12); i > 0; --i) {
            text += "[HKEY_CURRENT_USER\\" + Cp932::Encode(pick(keys)) + "]\r\n";
            for (int j = rng.bounded(4); j > 0; --j) {
                const QByteArray name = Cp932::Encode(pick(names));
                text += (name.isEmpty() ? QByteArray("@") : '"' + name + '"')
                    + (rng.bounded(4) ? "=dword:0000000" + QByteArray::number(j) : "=dword:zz") + "\r\n";
            }
        }
        RegFile::Document doc = RegFile::Parse(text);
        for (int step = 0; step < 30; ++step) {
            const QString key = pick(keys);
            const QString name = pick(names);
            switch (rng.bounded(5)) {
            case 0:
                doc.CreateKey(key);
                break;
            case 1:
                doc.DeleteKey(key);
                break;
            case 2:
                doc.DeleteValue(key, name);
                break;
            default:
                doc.SetValue(key, name, RegValue::Dword(rng.generate()));
                break;
            }
            const RegFile::Document reread = RegFile::Parse(RegFile::Serialise(doc));
            for (const QString& k : keys) {
                const QString path = Recased(rng, k);
                ASSERT_EQ(doc.KeyExists(path), SearchKey(doc, path)) << path.toStdString() << " after " << text.toStdString();
                ASSERT_EQ(reread.KeyExists(path), doc.KeyExists(path)) << path.toStdString();
                for (const QString& n : names) {
                    const RegFile::Entry* found = doc.FindValue(path, n);
                    ASSERT_EQ(found, SearchValue(doc, path, n)) << path.toStdString() << " " << n.toStdString();
                    const RegFile::Entry* back = reread.FindValue(path, n);
                    ASSERT_EQ(bool(back), bool(found)) << path.toStdString() << " " << n.toStdString();
                    if (found) {
                        EXPECT_EQ(back->value, found->value);
                    }
                }
            }
        }
    }
}

// A read parses only the lines of the key it reads, found by their section headers alone.
// Over random files made of the pieces damaged and hand-edited files are made of, it must
// read exactly what the whole file's parse reads.
TEST(RegistryOutline, ReadsWhatTheWholeParseReads)
{
    const quint32 seed = QRandomGenerator::global()->generate();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    QRandomGenerator rng(seed);
    const QList<QByteArray> pieces = {
        "REGEDIT4", "", " \t", "[HKEY_CURRENT_USER\\A]", "  [hkey_current_user\\a\\B]", "\v[HKEY_CURRENT_USER\\C]",
        "[HKEY_CURRENT_USER]", "x[HKEY_CURRENT_USER\\D]", "[HKEY_LOCAL_MACHINE\\A]", "[broken", "\"v\"=\"[no header]\"",
        "\"v\"=\"1\"", "\"V\"=dword:00000002", "@=\"d\"", "\"h\"=hex:01,\\", "  02,\\", "  [HKEY_CURRENT_USER\\A]",
        "\"h\"=hex(2):41,00", "\"q\"=\"open", "\"\x83\\\"=\"\x83\\\"", "junk \x01", "\"w\"=dword:zz",
    };
    const QStringList keys = { "", "A", "a\\b", "C", "D", "E" };
    const QStringList names = { "", "v", "h", "q", "w", QString::fromUtf8("\xe3\x82\xbd") };
    for (int round = 0; round < 2000; ++round) {
        QByteArray input;
        for (int i = rng.bounded(1, 25); i > 0; --i) {
            input += pieces.at(rng.bounded(int(pieces.size())));
            const int eol = rng.bounded(5);
            input += eol == 0 ? "\n" : eol == 1 ? "\r" : eol == 2 ? "\n\r" : "\r\n";
        }
        if (rng.bounded(2))
            input.chop(1);
        const RegFile::Document doc = RegFile::Parse(input);
        const RegFile::Outline outline(input);
        for (const QString& key : keys) {
            SCOPED_TRACE(testing::Message() << "key " << key.toStdString() << " in " << input.toHex().toStdString());
            ASSERT_EQ(outline.KeyExists(key), doc.KeyExists(key));
            ASSERT_EQ(outline.SubKeyNames(key), doc.SubKeyNames(key));
            const std::optional<RegFile::Section> section = outline.KeySection(key);
            ASSERT_EQ(section.has_value(), doc.FindSection(key) >= 0);
            if (!section)
                continue;
            ASSERT_EQ(section->ValueNames(), doc.ValueNames(key));
            for (const QString& name : names) {
                const RegFile::Entry* read = section->FindValue(name);
                const RegFile::Entry* parsed = doc.FindValue(key, name);
                ASSERT_EQ(bool(read), bool(parsed)) << name.toStdString();
                if (read) {
                    ASSERT_EQ(read->value, parsed->value) << name.toStdString();
                }
            }
        }
    }
}

// File times are coarse: a file rewritten in place with as many bytes, within the same
// instant, looks the same to its stamp. The kept parse must still not be used for it.
TEST(RegistryCache, AFileRewrittenInPlaceIsReadAgainEveryTime)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("registry.reg");
    RegistryFile reg(path);
    for (int i = 0; i < 200; ++i) {
        const QByteArray digit = QByteArray::number(i % 10);
        WriteAll(path, "REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=\"" + digit + "\"\r\n");
        ASSERT_EQ(reg.ReadValue("K", "v").value.ToText(), QString::fromLatin1(digit)) << "write " << i;
        ASSERT_EQ(RegistryFile(path).ReadValue("K", "v").value.ToText(), QString::fromLatin1(digit))
            << "write " << i;
    }
    // Removed and made again: gone, then back.
    QFile::remove(path);
    EXPECT_FALSE(reg.KeyExists("K"));
    WriteAll(path, "REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=\"x\"\r\n");
    EXPECT_EQ(reg.ReadValue("K", "v").value.ToText(), "x");
}

// Value names of plain ASCII skip the Shift-JIS converter; they must read the same.
TEST(RegistryCache, PlainNamesReadAsTheConverterReadsThem)
{
    QTemporaryDir dir;
    QByteArray text = "REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n";
    QStringList expected;
    for (int c = 0x20; c < 0x7F; ++c) {
        if (c == '"' || c == '\\')
            continue;
        // Numbered, since names that differ only in case are one name.
        const QByteArray name = QByteArray::number(c) + char(c);
        text += '"' + name + "\"=dword:00000001\r\n";
        expected << Cp932::Decode(name);
    }
    WriteAll(dir.filePath("registry.reg"), text);
    EXPECT_EQ(RegistryFile(dir.filePath("registry.reg")).ValueNames("K").names, expected);
}

} // namespace
