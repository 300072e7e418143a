// SPDX-License-Identifier: MIT
#include "windows/FontDialog.h"

// Qt
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace {

// Where the embedded dialog keeps its sample text (an object name Qt gives it).
constexpr const char* SampleEditName = "qt_fontDialog_sampleEdit";

QIcon Swatch(ColorValue color)
{
    QPixmap pixmap(24, 12);
    pixmap.fill(SysColors::ToQColor(color));
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, pixmap.width() - 1, pixmap.height() - 1);
    return QIcon(pixmap);
}

} // namespace

const std::array<FontDialog::ColorChoice, 16>& FontDialog::Colors()
{
    using namespace SysColors;
    static const std::array<ColorChoice, 16> colors{{
        {clBlack, "black", QString::fromUtf8(QT_TRANSLATE_NOOP("FontDialog", "黒"))},
        {clMaroon, "maroon", QString::fromUtf8(QT_TRANSLATE_NOOP("FontDialog", "茶"))},
        {clGreen, "green", QString::fromUtf8(QT_TRANSLATE_NOOP("FontDialog", "緑"))},
        {Rgb(0x80, 0x80, 0x00), "olive", QString::fromUtf8(QT_TRANSLATE_NOOP("FontDialog", "オリーブ"))},
        {clNavy, "navy", QString::fromUtf8(QT_TRANSLATE_NOOP("FontDialog", "紺"))},
        {Rgb(0x80, 0x00, 0x80), "purple", QString::fromUtf8(QT_TRANSLATE_NOOP("FontDialog", "紫"))},
        {clTeal, "teal", QString::fromUtf8(QT_TRANSLATE_NOOP("FontDialog", "青緑"))},
        {clGray, "gray", QString::fromUtf8(QT_TRANSLATE_NOOP("FontDialog", "灰色"))},
        {clSilver, "silver", QString::fromUtf8(QT_TRANSLATE_NOOP("FontDialog", "銀"))},
        {clRed, "red", QString::fromUtf8(QT_TRANSLATE_NOOP("FontDialog", "赤"))},
        {clLime, "lime", QString::fromUtf8(QT_TRANSLATE_NOOP("FontDialog", "黄緑"))},
        {clYellow, "yellow", QString::fromUtf8(QT_TRANSLATE_NOOP("FontDialog", "黄"))},
        {clBlue, "blue", QString::fromUtf8(QT_TRANSLATE_NOOP("FontDialog", "青"))},
        {Rgb(0xFF, 0x00, 0xFF), "fuchsia", QString::fromUtf8(QT_TRANSLATE_NOOP("FontDialog", "赤紫"))},
        {clAqua, "aqua", QString::fromUtf8(QT_TRANSLATE_NOOP("FontDialog", "水色"))},
        {clWhite, "white", QString::fromUtf8(QT_TRANSLATE_NOOP("FontDialog", "白"))},
    }};
    return colors;
}

FontDialog::FontDialog(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("フォント"));

    m_chooser = new QFontDialog(this);
    m_chooser->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    m_chooser->setWindowFlags(Qt::Widget);
    m_chooser->setSizeGripEnabled(false);
    // As a widget inside this dialog it must not close itself: Esc and Return are ours.
    m_chooser->installEventFilter(this);

    m_colorBox = new QComboBox;
    m_colorBox->setObjectName(QStringLiteral("ColorBox"));
    for (const ColorChoice& choice : Colors())
        m_colorBox->addItem(Swatch(choice.value), tr(choice.name.toUtf8().constData()), QVariant::fromValue(quint32(choice.value)));
    m_colorBox->setCurrentIndex(0);
    connect(m_colorBox, &QComboBox::currentIndexChanged, this, &FontDialog::UpdateSample);

    auto* colorLabel = new QLabel(tr("色(&C):"));
    colorLabel->setBuddy(m_colorBox);
    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(colorLabel);
    colorRow->addWidget(m_colorBox, 1);

    // The colour belongs with underline and strike-out, in the effects group.
    QGroupBox* effects = nullptr;
    for (QGroupBox* box : m_chooser->findChildren<QGroupBox*>())
        if (!box->findChildren<QCheckBox*>().isEmpty())
            effects = box;
    auto* effectsLayout = effects ? qobject_cast<QBoxLayout*>(effects->layout()) : nullptr;

    OwnCaptions();

    m_sample = m_chooser->findChild<QLineEdit*>(QLatin1String(SampleEditName));
    if (m_sample)
        m_sample->setText(QStringLiteral("甲乙丙丁 Aaあア"));

    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("キャンセル"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_chooser, 1);
    if (effectsLayout)
        effectsLayout->addLayout(colorRow);
    else
        layout->addLayout(colorRow);
    layout->addWidget(buttons);

    UpdateSample();
}

void FontDialog::OwnCaptions()
{
    // The embedded dialog speaks the language of whatever translation the application has
    // loaded, English without one; it gets the captions of the system's own font dialog in
    // the program's language instead. Its labels are told apart by what they label.
    // Family, style and size each have an edit and a list; a label names one of the two.
    const QList<QLineEdit*> edits = m_chooser->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly);
    const QList<QListView*> lists = m_chooser->findChildren<QListView*>(Qt::FindDirectChildrenOnly);
    const QString editCaptions[] = {tr("フォント名(&F):"), tr("スタイル(&Y):"),
                                    tr("サイズ(&S):")};
    for (QLabel* label : m_chooser->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        qsizetype i = edits.indexOf(qobject_cast<QLineEdit*>(label->buddy()));
        if (i < 0)
            i = lists.indexOf(qobject_cast<QListView*>(label->buddy()));
        if (i >= 0 && i < 3)
            label->setText(editCaptions[i]);
        else if (qobject_cast<QComboBox*>(label->buddy()))
            label->setText(tr("文字セット(&R):"));
    }
    for (QGroupBox* box : m_chooser->findChildren<QGroupBox*>()) {
        const QList<QCheckBox*> checks = box->findChildren<QCheckBox*>();
        if (checks.size() == 2) {
            box->setTitle(tr("文字飾り"));
            checks[0]->setText(tr("取り消し線(&K)"));
            checks[1]->setText(tr("下線(&U)"));
        } else if (box->findChild<QLineEdit*>(QLatin1String(SampleEditName))) {
            box->setTitle(tr("サンプル"));
        }
    }
}

double FontDialog::Dpi() const
{
    const int dpi = logicalDpiY();
    return dpi > 0 ? dpi : 96.0;
}

void FontDialog::SetFont(const QFont& font)
{
    QFont shown = font;
    m_presetFamily = font.family();
    // A face this system lacks would leave the face list on some unrelated face; show the
    // face that actually draws it instead.
    if (!m_presetFamily.isEmpty() && !QFontDatabase::families().contains(m_presetFamily))
        shown.setFamily(QFontInfo(font).family());

    m_presetPixels = font.pixelSize();
    if (m_presetPixels > 0)
        shown.setPointSizeF(m_presetPixels * 72.0 / Dpi());

    m_chooser->setCurrentFont(shown);
    const QFont now = m_chooser->currentFont();
    m_shownFamily = now.family();
    m_shownPoints = now.pointSizeF();
    UpdateSample();
}

QFont FontDialog::SelectedFont() const
{
    QFont font = m_chooser->currentFont();
    if (!m_presetFamily.isEmpty() && font.family() == m_shownFamily)
        font.setFamily(m_presetFamily);
    if (m_presetPixels > 0) {
        if (qFuzzyCompare(font.pointSizeF(), m_shownPoints))
            font.setPixelSize(m_presetPixels);
        else
            font.setPixelSize(qMax(1, qRound(font.pointSizeF() * Dpi() / 72.0)));
    }
    return font;
}

void FontDialog::SetColor(ColorValue color)
{
    SelectColorItem(color);
    UpdateSample();
}

void FontDialog::SelectColorItem(ColorValue color)
{
    // Only one custom entry: the colour that came in.
    if (m_colorBox->count() > int(Colors().size()))
        m_colorBox->removeItem(int(Colors().size()));
    m_presetColor = color;
    m_presetIndex = -1;
    // A system colour shows as the listed colour it stands for (window text as 黒).
    const ColorValue rgb = SysColors::ToRgbValue(color) & 0x00FFFFFF;
    for (int i = 0; i < int(Colors().size()); ++i) {
        if (Colors()[i].value == rgb) {
            m_presetIndex = i;
            break;
        }
    }
    if (m_presetIndex < 0) {
        m_colorBox->addItem(Swatch(color), tr("カスタム"), QVariant::fromValue(quint32(color)));
        m_presetIndex = m_colorBox->count() - 1;
    }
    m_colorBox->setCurrentIndex(m_presetIndex);
}

ColorValue FontDialog::SelectedColor() const
{
    // Untouched, the colour goes back as it came, a system colour included.
    if (m_colorBox->currentIndex() == m_presetIndex)
        return m_presetColor;
    return ColorValue(m_colorBox->currentData().value<quint32>());
}

void FontDialog::UpdateSample()
{
    if (!m_sample)
        return;
    QPalette palette = m_sample->palette();
    palette.setColor(QPalette::Text, SysColors::ToQColor(SelectedColor()));
    m_sample->setPalette(palette);
}

void FontDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    // The program's colours changed: a system colour of the sample resolves anew.
    if (event->type() == QEvent::PaletteChange)
        UpdateSample();
}

bool FontDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_chooser && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Cancel)) {
            reject();
            return true;
        }
        const bool plain = key->modifiers() == Qt::NoModifier
            || (key->modifiers() == Qt::KeypadModifier && key->key() == Qt::Key_Enter);
        if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool FontDialog::GetFont(QWidget* parent, QFont& font, ColorValue& color)
{
    FontDialog dialog(parent);
    dialog.SetFont(font);
    dialog.SetColor(color);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    font = dialog.SelectedFont();
    color = dialog.SelectedColor();
    return true;
}
