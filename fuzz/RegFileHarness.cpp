// SPDX-License-Identifier: MIT
// The settings-file harness. The bytes are a REGEDIT4 file as the portable registry reads
// it. Read through the settings store, each group in a store of its own as the program
// opens them: the main window's "Sys" values, the board font (as the font component reads
// it), and the application model's options for the sound, the over-play warning and the
// elapsed time (its later options, solvable deals, desktop colours and resume, are not
// covered here). Then:
// - a read that parses only the key it reads must find what the whole parse finds;
// - the file written back from what was read must read back to the same values, and
//   writing that again must give the same bytes;
// - writing every one of those settings (the program writes back only the ones that
//   changed, a subset of this), then reading the file again, must give back what was
//   written and leave every other value of the file as it was.

#include "FuzzHarness.h"

// own
#include "store/FontRecord.h"
#include "store/Keys.h"
#include "store/SettingsStore.h"
#include "platform/Registry.h"
#include "platform/RegistryFile.h"

#include <optional>
#include <utility>

namespace Fuzz {

namespace {

    constexpr const char* Name = "regfile";

    // The registry interface over a parsed file held in memory: what RegistryFile does
    // between reading the file and writing it back, without the file.
    class DocumentRegistry final : public Registry
    {
    public:
        explicit DocumentRegistry(RegFile::Document& doc)
            : m_doc(doc)
        {
        }

        RegResult OpenKey(const QString& path, RegOpen mode) override
        {
            if (!RegPath::Split(path))
                return Invalid();
            if (m_doc.KeyExists(path))
                return RegResult::Success();
            if (mode == RegOpen::Existing)
                return Missing();
            m_doc.CreateKey(path);
            return RegResult::Success();
        }
        RegNamesResult SubKeyNames(const QString& path) override
        {
            RegNamesResult r;
            if (!m_doc.KeyExists(path))
                static_cast<RegResult&>(r) = Missing();
            else
                r.names = m_doc.SubKeyNames(path);
            return r;
        }
        RegNamesResult ValueNames(const QString& path) override
        {
            RegNamesResult r;
            if (!m_doc.KeyExists(path))
                static_cast<RegResult&>(r) = Missing();
            else
                r.names = m_doc.ValueNames(path);
            return r;
        }
        RegResult DeleteKey(const QString& path) override
        {
            return m_doc.DeleteKey(path) ? RegResult::Success() : Missing();
        }
        RegValueResult ReadValue(const QString& path, const QString& name) override
        {
            RegValueResult r;
            const RegFile::Entry* e = m_doc.KeyExists(path) ? m_doc.FindValue(path, name) : nullptr;
            if (!e)
                static_cast<RegResult&>(r) = Missing();
            else
                r.value = e->value;
            return r;
        }
        RegResult WriteValue(const QString& path, const QString& name, const RegValue& value) override
        {
            if (!m_doc.KeyExists(path))
                return Missing();
            m_doc.SetValue(path, name, value);
            return RegResult::Success();
        }
        RegResult DeleteValue(const QString& path, const QString& name) override
        {
            return m_doc.DeleteValue(path, name) ? RegResult::Success() : Missing();
        }

    private:
        static RegResult Missing() { return RegResult::Fail(RegStatus::NotFound, QStringLiteral("missing")); }
        static RegResult Invalid()
        {
            return RegResult::Fail(RegStatus::InvalidName, QStringLiteral("invalid"));
        }

        RegFile::Document& m_doc;
    };

    struct Settings
    {
        int cbh = 0;
        int cbw = 0;
        int cg1 = 0;
        int rgc = 0;
        bool cb1 = false;
        bool cb2 = false;
        bool cb3 = false;
        QString timeE;
        std::optional<FontRecord> font;
        qsizetype errors = 0;

        QString Describe() const
        {
            return QStringLiteral(
                "CBH %1 CBW %2 CG1 %3 RGC %4 CB1 %5 CB2 %6 CB3 %7 TimeE \"%8\" font %9 errors %10")
                .arg(cbh)
                .arg(cbw)
                .arg(cg1)
                .arg(rgc)
                .arg(cb1)
                .arg(cb2)
                .arg(cb3)
                .arg(timeE)
                .arg(font ? font->Name + QLatin1Char('/') + QString::number(font->Height)
                          : QStringLiteral("none"))
                .arg(errors);
        }
    };

    std::unique_ptr<Registry> Over(RegFile::Document& doc)
    {
        return std::make_unique<DocumentRegistry>(doc);
    }

    // The settings covered, read as the program reads them: the main window's "Sys" values,
    // then its board font, then the application model's options.
    Settings ReadSettings(RegFile::Document& doc)
    {
        Settings s;
        {
            SettingsStore store(Over(doc), Keys::Root);
            s.cbh = store.ReadNumber(Keys::Sys::CBH);
            s.cbw = store.ReadNumber(Keys::Sys::CBW);
            s.cg1 = store.ReadNumber(Keys::Sys::CG1);
            s.rgc = store.ReadNumber(Keys::Sys::RGC);
            s.errors += store.Errors().size();
            FUZZ_REQUIRE(Name, store.HasErrors() != store.ErrorMessage().isEmpty(), store.ErrorMessage());
        }
        const RegValueResult font = Over(doc)->ReadValue(Keys::Root, Keys::FontInfo1);
        if (font.Ok() && font.value.Type() == RegType::Binary)
            s.font = FontRecord::Decode(font.value.data);
        {
            SettingsStore store(Over(doc), Keys::Root);
            s.cb1 = store.ReadFlag(Keys::Wav::CB1);
            s.cb2 = store.ReadFlag(Keys::Set::CB2);
            s.cb3 = store.ReadFlag(Keys::Set::CB3);
            s.timeE = store.ReadText(Keys::Set::TimeE);
            s.errors += store.Errors().size();
            FUZZ_REQUIRE(Name, store.HasErrors() != store.ErrorMessage().isEmpty(), store.ErrorMessage());
        }
        return s;
    }

    bool Same(const Settings& a, const Settings& b)
    {
        return a.cbh == b.cbh && a.cbw == b.cbw && a.cg1 == b.cg1 && a.rgc == b.rgc && a.cb1 == b.cb1
            && a.cb2 == b.cb2 && a.cb3 == b.cb3 && a.timeE == b.timeE && a.font == b.font
            && a.errors == b.errors;
    }

    // Every value the registry shows, key by key in file order.
    using KeyValues = QList<std::pair<QString, QList<std::pair<QString, RegValue>>>>;

    KeyValues AllValues(const RegFile::Document& doc)
    {
        KeyValues all;
        for (const RegFile::Section& s : doc.Sections()) {
            if (!s.user)
                continue;
            QList<std::pair<QString, RegValue>> values;
            for (const RegFile::Entry& e : s.entries) {
                if (e.parsed)
                    values.append({ e.name.value_or(QString()), e.value });
            }
            all.append({ s.path, values });
        }
        return all;
    }

    QString Describe(const RegValue& v)
    {
        return QStringLiteral("type %1 [%2]").arg(v.type).arg(QString::fromLatin1(v.data.toHex(' ')));
    }

    QString SectionPath(const QLatin1String& section)
    {
        return Keys::Root + QLatin1Char('\\') + section;
    }

    // The settings covered, all written: the main window's "Sys" values and the application
    // model's options (the program writes them from two stores, at their windows' close),
    // then the board font.
    void WriteSettings(RegFile::Document& doc, const Settings& s)
    {
        {
            SettingsStore store(Over(doc), Keys::Root);
            store.WriteNumber(Keys::Sys::CBH, s.cbh);
            store.WriteNumber(Keys::Sys::CBW, s.cbw);
            store.WriteNumber(Keys::Sys::CG1, s.cg1);
            store.WriteNumber(Keys::Sys::RGC, s.rgc);
            store.WriteFlag(Keys::Wav::CB1, s.cb1);
            store.WriteFlag(Keys::Set::CB2, s.cb2);
            store.WriteFlag(Keys::Set::CB3, s.cb3);
            store.WriteText(Keys::Set::TimeE, s.timeE);
            FUZZ_REQUIRE(Name, !store.HasErrors(), store.ErrorMessage());
        }
        const FontRecord font = s.font.value_or(FontRecord {});
        const RegResult r
            = Over(doc)->WriteValue(Keys::Root, Keys::FontInfo1, RegValue::Binary(font.Encode()));
        FUZZ_REQUIRE(Name, r.Ok(), r.message);
    }

    bool IsWritten(const QString& path, const QString& name)
    {
        auto is = [&](const QString& p, const QString& n) {
            return RegPath::SameName(path, p) && RegPath::SameName(name, n);
        };
        return is(SectionPath(Keys::Sys::Section), Keys::Sys::CBH.ident)
            || is(SectionPath(Keys::Sys::Section), Keys::Sys::CBW.ident)
            || is(SectionPath(Keys::Sys::Section), Keys::Sys::CG1.ident)
            || is(SectionPath(Keys::Sys::Section), Keys::Sys::RGC.ident)
            || is(SectionPath(Keys::Wav::Section), Keys::Wav::CB1.ident)
            || is(SectionPath(Keys::Set::Section), Keys::Set::CB2.ident)
            || is(SectionPath(Keys::Set::Section), Keys::Set::CB3.ident)
            || is(SectionPath(Keys::Set::Section), Keys::Set::TimeE.ident) || is(Keys::Root, Keys::FontInfo1);
    }

    // A read of the file parses only the key it reads: it must read what the whole parse
    // reads, key by key.
    void ReadsAsParsed(const RegFile::Document& doc, const QByteArray& input)
    {
        const RegFile::Outline outline(input);
        for (const QString& key : { QString(), QStringLiteral("Software"), QString(Keys::Root) }) {
            FUZZ_REQUIRE(Name, outline.KeyExists(key) == doc.KeyExists(key), key);
            FUZZ_REQUIRE(Name, outline.SubKeyNames(key) == doc.SubKeyNames(key), key);
        }
        for (const RegFile::Section& s : doc.Sections()) {
            if (!s.user)
                continue;
            FUZZ_REQUIRE(Name, outline.KeyExists(s.path), s.path);
            const std::optional<RegFile::Section> read = outline.KeySection(s.path);
            FUZZ_REQUIRE(Name, read && read->ValueNames() == s.ValueNames(), s.path);
            for (const RegFile::Entry& e : s.entries) {
                if (!e.parsed)
                    continue;
                const RegFile::Entry* found = read->FindValue(*e.name);
                FUZZ_REQUIRE(Name, found && found->value == e.value,
                    s.path + QLatin1Char('\\') + *e.name + QStringLiteral(" reads otherwise alone"));
            }
        }
    }

} // namespace

void RunRegFile(const QByteArray& input)
{
    const RegFile::Document doc = RegFile::Parse(input);
    const KeyValues values = AllValues(doc);
    ReadsAsParsed(doc, input);
    RegFile::Document readDoc = doc;
    const Settings read = ReadSettings(readDoc);

    // Written back unchanged and read again: the same values, the same settings.
    const QByteArray bytes = RegFile::Serialise(doc);
    RegFile::Document again = RegFile::Parse(bytes);
    const KeyValues valuesAgain = AllValues(again);
    FUZZ_REQUIRE(Name, valuesAgain.size() == values.size(),
        QStringLiteral("%1 keys, %2 after a save").arg(values.size()).arg(valuesAgain.size()));
    for (qsizetype i = 0; i < values.size(); ++i) {
        FUZZ_REQUIRE(Name, valuesAgain.at(i).first == values.at(i).first,
            values.at(i).first + QStringLiteral(" became ") + valuesAgain.at(i).first);
        const auto& before = values.at(i).second;
        const auto& after = valuesAgain.at(i).second;
        FUZZ_REQUIRE(Name, before.size() == after.size(),
            QStringLiteral("%1: %2 values, %3 after a save")
                .arg(values.at(i).first)
                .arg(before.size())
                .arg(after.size()));
        for (qsizetype j = 0; j < before.size(); ++j) {
            FUZZ_REQUIRE(Name,
                before.at(j).first == after.at(j).first && before.at(j).second == after.at(j).second,
                QStringLiteral("%1\\%2 %3 became %4\\%5 %6")
                    .arg(values.at(i).first, before.at(j).first, Describe(before.at(j).second),
                        valuesAgain.at(i).first, after.at(j).first, Describe(after.at(j).second)));
        }
    }
    FUZZ_REQUIRE(Name, RegFile::Serialise(again) == bytes, QStringLiteral("a second save differs"));
    const Settings readAgain = ReadSettings(again);
    FUZZ_REQUIRE(
        Name, Same(read, readAgain), read.Describe() + QStringLiteral(" became ") + readAgain.Describe());

    // Every setting covered written back, as the program would after changing them all.
    RegFile::Document written = doc;
    WriteSettings(written, read);
    RegFile::Document reread = RegFile::Parse(RegFile::Serialise(written));
    Settings expected = read;
    expected.timeE = AsSaved(read.timeE);
    if (!expected.font)
        expected.font = FontRecord {};
    expected.font->Name = AsSaved(expected.font->Name);
    expected.errors = 0;
    const Settings back = ReadSettings(reread);
    FUZZ_REQUIRE(
        Name, Same(expected, back), expected.Describe() + QStringLiteral(" read back as ") + back.Describe());

    // ... and every other value of the file is still there, unchanged.
    for (const auto& [path, list] : values) {
        for (const auto& [name, value] : list) {
            if (IsWritten(path, name))
                continue;
            const RegFile::Entry* e = reread.FindValue(path, name);
            FUZZ_REQUIRE(Name, e && e->value == value,
                QStringLiteral("%1\\%2 %3 lost by writing the settings").arg(path, name, Describe(value)));
        }
    }
}

} // namespace Fuzz
