// SPDX-License-Identifier: MIT
// The font-record harness: the 47 bytes of the board font as the registry holds them. A
// record that decodes must encode to a record that decodes the same, and the encoding must
// be stable from then on. A record that decodes is then used as the main window uses it at
// start-up: made into the board font over the design font, and a tile painted with it;
// that font stored again must keep the record's face, style and height. Inputs of another
// length are also tried cut or padded to 47 bytes, so that every input reaches the fields.

#include "FuzzHarness.h"

// own
#include "controls/FontHeight.h"
#include "controls/BrimBtn.h"
#include "controls/NewCtrls.h"
#include "store/FontRecord.h"

// Qt
#include <QApplication>
#include <QImage>

#include <limits>

namespace Fuzz {

namespace {

    constexpr const char* Name = "fontrecord";

    QString Describe(const FontRecord& r)
    {
        return QStringLiteral("height %1 colour %2 ppi %3 pitch %4 charset %5 style %6 name \"%7\"")
            .arg(r.Height)
            .arg(r.Color, 0, 16)
            .arg(r.PixelsPerInch)
            .arg(r.Pitch)
            .arg(r.Charset)
            .arg(r.Style)
            .arg(r.Name);
    }

    QApplication& App()
    {
        static QApplication* app = [] {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            static int argc = 1;
            static char name[] = "orbilo_fuzz";
            static char* argv[] = { name, nullptr };
            return new QApplication(argc, argv);
        }();
        return *app;
    }

    // The board font made from the record, as the main window loads it, and one tile painted
    // with it.
    void UseAsBoardFont(const FontRecord& record)
    {
        App();
        static const QFont design = FontHeight::Make(QStringLiteral("ＭＳ Ｐゴシック"), -24);
        const QFont font = TFontInfo::FromRecord(record, design);
        FUZZ_REQUIRE(Name, font.pixelSize() >= 1, Describe(record));

        static TBrimBtn* tile = [] {
            auto* t = new TBrimBtn;
            t->resize(30, 30);
            t->SetCaption(QStringLiteral("甲"));
            return t;
        }();
        tile->setFont(font);
        QImage image(tile->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(0);
        tile->render(&image);

        // Stored again as the main window stores it when it closes.
        const FontRecord back = TFontInfo::ToRecord(font, record.Color);
        FUZZ_REQUIRE(Name, back.Style == (record.Style & 15),
            Describe(record) + QStringLiteral(" stored as ") + Describe(back));
        FUZZ_REQUIRE(Name, back.Name == (record.Name.isEmpty() ? design.family() : record.Name),
            Describe(record) + QStringLiteral(" stored as ") + Describe(back));
        FUZZ_REQUIRE(Name, back.Height == -font.pixelSize(),
            Describe(record) + QStringLiteral(" stored as ") + Describe(back));
        if (record.Height < 0)
            FUZZ_REQUIRE(Name,
                back.Height == qMax<qint64>(record.Height, -qint64(std::numeric_limits<int>::max())),
                Describe(record) + QStringLiteral(" stored as ") + Describe(back));
    }

    void Check(const QByteArray& bytes)
    {
        const std::optional<FontRecord> record = FontRecord::Decode(bytes);
        const bool usable
            = bytes.size() == FontRecord::Size && uchar(bytes.at(15)) <= FontRecord::MaxNameBytes;
        FUZZ_REQUIRE(Name, record.has_value() == usable, QStringLiteral("%1 bytes").arg(bytes.size()));
        if (!record)
            return;

        const QByteArray encoded = record->Encode();
        FUZZ_REQUIRE(
            Name, encoded.size() == FontRecord::Size, QStringLiteral("%1 bytes").arg(encoded.size()));
        // The fixed fields go back byte for byte.
        FUZZ_REQUIRE(Name, encoded.left(15) == bytes.left(15), Describe(*record));
        const std::optional<FontRecord> back = FontRecord::Decode(encoded);
        FUZZ_REQUIRE(Name, back.has_value(), Describe(*record));
        FontRecord expected = *record;
        expected.Name = AsSaved(record->Name);
        FUZZ_REQUIRE(
            Name, *back == expected, Describe(expected) + QStringLiteral(" came back as ") + Describe(*back));
        FUZZ_REQUIRE(Name, back->Encode() == encoded, Describe(*back));
        // Nothing but zeros after the name.
        const int n = uchar(encoded.at(15));
        FUZZ_REQUIRE(Name, encoded.mid(16 + n).count('\0') == encoded.size() - 16 - n, Describe(*back));

        UseAsBoardFont(*record);
    }

} // namespace

void RunFontRecord(const QByteArray& input)
{
    Check(input);
    if (input.size() != FontRecord::Size) {
        QByteArray fitted = input.left(FontRecord::Size);
        fitted.append(QByteArray(FontRecord::Size - fitted.size(), '\0'));
        Check(fitted);
    }
}

} // namespace Fuzz
