// SPDX-License-Identifier: MIT
// The settings-file harness. The bytes are a REGEDIT4 file as the portable registry reads
// it; every setting of Keys::All is read through the settings store in the order the
// windows read them (and the board font as the font component reads it). Then:
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
#include "platform/RegFileDocument.h"

#include <iterator>
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

    // Every setting of Keys::All, in the form it is stored ("1" or "0", a number in
    // decimal, a text), and the board font.
    struct Settings
    {
        QStringList values;
        std::optional<FontRecord> font;
        qsizetype errors = 0;

        QString Describe() const
        {
            QStringList parts;
            for (qsizetype i = 0; i < values.size(); ++i)
                parts << QStringLiteral("%1 \"%2\"").arg(Keys::All[i].ident, values.at(i));
            parts << QStringLiteral("font %1").arg(font
                    ? font->Name + QLatin1Char('/') + QString::number(font->Height)
                    : QStringLiteral("none"));
            parts << QStringLiteral("errors %1").arg(errors);
            return parts.join(QLatin1Char(' '));
        }
    };

    std::unique_ptr<Registry> Over(RegFile::Document& doc)
    {
        return std::make_unique<DocumentRegistry>(doc);
    }

    // Every setting, read as the game reads it at start-up, each owner's with a store of its
    // own: the main window's, then its board font, then the options dialog's.
    Settings ReadSettings(RegFile::Document& doc)
    {
        Settings s;
        s.values.resize(qsizetype(std::size(Keys::All)));
        auto readOwn = [&](Keys::Owner owner) {
            SettingsStore store(Over(doc), Keys::Root);
            for (size_t i = 0; i < std::size(Keys::All); ++i) {
                if (Keys::All[i].owner == owner)
                    s.values[qsizetype(i)] = store.Read(Keys::All[i]);
            }
            s.errors += store.Errors().size();
            FUZZ_REQUIRE(Name, store.HasErrors() != store.ErrorMessage().isEmpty(), store.ErrorMessage());
        };
        readOwn(Keys::Owner::MainWindow);
        const RegValueResult font = Over(doc)->ReadValue(Keys::Root, Keys::FontInfo1);
        if (font.Ok() && font.value.Type() == RegType::Binary)
            s.font = FontRecord::Decode(font.value.data);
        readOwn(Keys::Owner::Options);
        return s;
    }

    bool Same(const Settings& a, const Settings& b)
    {
        return a.values == b.values && a.font == b.font && a.errors == b.errors;
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

    // The settings as the windows write them when they close: the main window's, then the
    // options dialog's, then the board font.
    void WriteSettings(RegFile::Document& doc, const Settings& s)
    {
        {
            SettingsStore store(Over(doc), Keys::Root);
            for (Keys::Owner owner : { Keys::Owner::MainWindow, Keys::Owner::Options }) {
                for (size_t i = 0; i < std::size(Keys::All); ++i) {
                    if (Keys::All[i].owner == owner)
                        store.Write(Keys::All[i], s.values.at(qsizetype(i)));
                }
            }
            FUZZ_REQUIRE(Name, !store.HasErrors(), store.ErrorMessage());
        }
        const FontRecord font = s.font.value_or(FontRecord {});
        const RegResult r
            = Over(doc)->WriteValue(Keys::Root, Keys::FontInfo1, RegValue::Binary(font.Encode()));
        FUZZ_REQUIRE(Name, r.Ok(), r.message);
    }

    bool IsWritten(const QString& path, const QString& name)
    {
        if (RegPath::SameName(path, Keys::Root) && RegPath::SameName(name, Keys::FontInfo1))
            return true;
        for (const Keys::Setting& key : Keys::All) {
            if (RegPath::SameName(path, SectionPath(key.section)) && RegPath::SameName(name, key.ident))
                return true;
        }
        return false;
    }

    // The keys the settings are written to.
    bool IsSettingsKey(const QString& path)
    {
        for (const QLatin1String& section : { Keys::Sys::Section, Keys::Wav::Section, Keys::Set::Section }) {
            if (RegPath::SameName(path, SectionPath(section)))
                return true;
        }
        return RegPath::SameName(path, Keys::Root);
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
    for (size_t i = 0; i < std::size(Keys::All); ++i) {
        if (Keys::All[i].type == Keys::Type::Text)
            expected.values[qsizetype(i)] = AsSaved(read.values.at(qsizetype(i)));
    }
    if (!expected.font)
        expected.font = FontRecord {};
    expected.font->Name = AsSaved(expected.font->Name);
    expected.errors = 0;
    const Settings back = ReadSettings(reread);
    FUZZ_REQUIRE(
        Name, Same(expected, back), expected.Describe() + QStringLiteral(" read back as ") + back.Describe());

    // ... and every key they leave alone goes back as it was read, from its header to its
    // last line that is not blank (a key given twice is joined into its first section).
    const QByteArray writtenBytes = RegFile::Serialise(written);
    for (const RegFile::Section& s : doc.Sections()) {
        if (s.bodies.size() != 1 || (s.user && IsSettingsKey(s.path)))
            continue;
        const QByteArrayView body = s.bodies.front();
        qsizetype end = body.size();
        while (end > 0 && QByteArrayView(" \t\v\f\r\n").contains(body.at(end - 1)))
            --end;
        while (end > 0 && end < body.size() && body.at(end) != '\r' && body.at(end) != '\n')
            ++end;
        FUZZ_REQUIRE(Name, writtenBytes.contains(s.header + body.first(end).toByteArray()),
            QStringLiteral("the section %1 changed by writing the settings").arg(QString::fromLatin1(s.header)));
    }

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
