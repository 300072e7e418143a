// SPDX-License-Identifier: MIT
// The settings file's document, without a file: the exact bytes it writes, what a file cut
// short reads as, and that a parse and a write reach a fixed point and keep every value.

// Qt
#include <QRandomGenerator>
// GoogleTest
#include <gtest/gtest.h>

// own
#include "platform/Cp932.h"
#include "platform/RegFileDocument.h"
#include "platform/Registry.h"
#include "RegValuePrinter.h"

namespace {

const QString Tesrik = QStringLiteral("Software\\Brimwell\\TESRIK");
const QString TesrikSet = QStringLiteral("Software\\Brimwell\\TESRIK\\Set");

TEST(RegFileDocument, WritesTheRegeditFormat)
{
    RegFile::Document doc;
    doc.CreateKey(TesrikSet);
    doc.SetValue(TesrikSet, "TimeE", RegValue::Text("30"));
    doc.SetValue(TesrikSet, "Path", RegValue::Text("C:\\\"q\"", RegType::ExpandSz));
    doc.SetValue(TesrikSet, "Q", RegValue::Text("a\\b\"c"));
    doc.SetValue(Tesrik, "", RegValue::Text(QStringLiteral("既定")));
    doc.SetValue(Tesrik, "N", RegValue::Dword(30));
    doc.SetValue(Tesrik, "B", RegValue::Binary("\x01\xff"));
    doc.SetValue(Tesrik, "M", RegValue { 7, QByteArray("a\0b\0\0", 5) });
    const QString expected = QStringLiteral("REGEDIT4\n"
                                            "\n"
                                            "[HKEY_CURRENT_USER\\Software]\n"
                                            "\n"
                                            "[HKEY_CURRENT_USER\\Software\\Brimwell]\n"
                                            "\n"
                                            "[HKEY_CURRENT_USER\\Software\\Brimwell\\TESRIK]\n"
                                            "@=\"既定\"\n"
                                            "\"N\"=dword:0000001e\n"
                                            "\"B\"=hex:01,ff\n"
                                            "\"M\"=hex(7):61,00,62,00,00\n"
                                            "\n"
                                            "[HKEY_CURRENT_USER\\Software\\Brimwell\\TESRIK\\Set]\n"
                                            "\"TimeE\"=\"30\"\n"
                                            "\"Path\"=hex(2):43,3a,5c,22,71,22,00\n"
                                            "\"Q\"=\"a\\\\b\\\"c\"\n"
                                            "\n");
    QByteArray bytes = Cp932::Encode(expected);
    bytes.replace("\n", "\r\n");
    EXPECT_EQ(RegFile::Serialise(doc), bytes);
}

TEST(RegFileDocument, ATruncatedFileNeverYieldsAWrongValue)
{
    RegFile::Document doc;
    QByteArray big;
    for (int i = 0; i < 90; ++i)
        big.append(char(i));
    doc.SetValue(Tesrik, "S", RegValue::Text(QStringLiteral("甲乙丙")));
    doc.SetValue(Tesrik, "D", RegValue::Dword(0x12345678));
    doc.SetValue(Tesrik, "B", RegValue::Binary(big));
    doc.SetValue(Tesrik, "E", RegValue::Text("%P%", RegType::ExpandSz));
    doc.SetValue(TesrikSet, "T", RegValue::Text("30"));
    const QByteArray full = RegFile::Serialise(doc);
    const RegFile::Document whole = RegFile::Parse(full);

    struct Expect
    {
        QString path;
        QString name;
        qsizetype end;
    };
    QList<Expect> values;
    for (const auto& [path, name] : QList<std::pair<QString, QString>> {
             { Tesrik, "S" }, { Tesrik, "D" }, { Tesrik, "B" }, { Tesrik, "E" }, { TesrikSet, "T" } }) {
        // The value's lines end at the first line break not followed by a continuation.
        qsizetype end = full.indexOf("\"" + name.toLatin1() + "\"=");
        while ((end = full.indexOf("\r\n", end)) >= 0 && full.mid(end + 2, 2) == "  ")
            end += 2;
        values.append({ path, name, end + 2 });
    }
    for (qsizetype cut = 0; cut <= full.size(); ++cut) {
        const RegFile::Document part = RegFile::Parse(full.left(cut));
        for (const Expect& v : values) {
            const RegFile::Entry* got = part.FindValue(v.path, v.name);
            const RegValue want = whole.FindValue(v.path, v.name)->value;
            if (cut >= v.end) {
                ASSERT_TRUE(got) << "cut " << cut << " lost " << v.name.toStdString();
            }
            if (!got)
                continue;
            // Hex data cut between two whole bytes is indistinguishable from shorter data;
            // quoted texts and dwords are refused unless whole.
            if (want.type != quint32(RegType::Sz) && want.type != quint32(RegType::Dword) && cut < v.end)
                EXPECT_TRUE(want.data.startsWith(got->value.data)) << "cut " << cut;
            else
                EXPECT_EQ(got->value, want) << "cut " << cut << " " << v.name.toStdString();
        }
    }
}

// Random files built from the pieces real and damaged files are made of: one parse and
// write normalises them, a second changes nothing, and a value set survives the trip.
TEST(RegFileDocument, RandomDocumentsRoundTripStably)
{
    const quint32 seed = QRandomGenerator::global()->generate();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    QRandomGenerator rng(seed);
    const QList<QByteArray> pieces = {
        "REGEDIT4",
        "",
        "  ",
        "; note",
        "[HKEY_CURRENT_USER\\Software\\A]",
        "[hkey_current_user\\software\\a]",
        "[HKEY_CURRENT_USER\\Software\\A\\B]",
        "[HKEY_CURRENT_USER]",
        "[HKEY_LOCAL_MACHINE\\X]",
        "[broken",
        "[HKEY_CURRENT_USER\\\\x]",
        "\"v\"=\"1\"",
        "\"V\"=\"2\"",
        "@=\"d\"",
        "\"w\"=dword:0000000a",
        "\"w\"=dword:a",
        "\"h\"=hex:01,02,\\",
        "  03,04",
        "  05,\\",
        "\"h\"=hex(2):41,00",
        "\"x\"=-",
        "\"q\"=\"open",
        "\"\x83\\\"=\"\x83\\\"",
        "\"s\"=\"\\\\\\\"\"",
        "junk \x01\x02",
        "\"n\"",
        "\"e\"=\"\"",
        "\"h\"=hex:",
        "  [HKEY_CURRENT_USER\\Software\\A\\B]",
        "  \"v\"=\"3\"",
        "\t00",
    };
    for (int round = 0; round < 300; ++round) {
        QByteArray input;
        const int count = rng.bounded(1, 30);
        for (int i = 0; i < count; ++i) {
            input += pieces.at(rng.bounded(int(pieces.size())));
            const int eol = rng.bounded(4);
            input += eol == 0 ? "\n" : eol == 1 ? "\r" : "\r\n";
        }
        const QByteArray once = RegFile::Serialise(RegFile::Parse(input));
        RegFile::Document doc = RegFile::Parse(once);
        ASSERT_EQ(RegFile::Serialise(doc), once) << "input: " << input.toHex().toStdString();

        const QStringList keys = { "Software\\A", "Software\\A\\B", "", "Software\\C" };
        const QString key = keys.at(rng.bounded(int(keys.size())));
        const RegValue value = RegValue::Dword(rng.generate());
        const QStringList namesBefore = doc.KeyExists(key) ? doc.ValueNames(key) : QStringList();
        doc.SetValue(key, "h", value);
        const RegFile::Document back = RegFile::Parse(RegFile::Serialise(doc));
        ASSERT_TRUE(back.FindValue(key, "h")) << "input: " << input.toHex().toStdString();
        EXPECT_EQ(back.FindValue(key, "h")->value, value);
        for (const QString& name : namesBefore) {
            if (!RegPath::SameName(name, "h")) {
                EXPECT_EQ(back.FindValue(key, name)->value, doc.FindValue(key, name)->value);
            }
        }
    }
}

} // namespace
