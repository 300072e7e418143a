// SPDX-License-Identifier: MIT
#include "windows/Name.h"

// Qt
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
// own
#include "windows/AppInfo.h"
#include "game/Ranking.h"
#include "platform/UserName.h"

namespace {

constexpr int ClientWidth = 317;
constexpr int ClientHeight = 43;

} // namespace

QValidator::State NameValidator::validate(QString& input, int& pos) const
{
    if (!TextGrid::IsStorableText(input)) {
        // Line breaks and NULs vanish: the caret moves back by those before it.
        int removedBeforeCaret = 0;
        for (int i = 0; i < pos && i < input.size(); ++i) {
            const QChar ch = input.at(i);
            removedBeforeCaret += ch == QLatin1Char('\r') || ch == QLatin1Char('\n') || ch == QChar(0);
        }
        input = Ranking::StorableName(input);
        pos = qBound(0, pos - removedBeforeCaret, int(input.size()));
    }
    return Acceptable;
}

TNameF::TNameF(QWidget* parent)
    : QDialog(parent,
        Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , m_loginName(&LoginName)
{
    setObjectName(QStringLiteral("NameF"));
    setWindowTitle(tr("ランキング登録の名前を入力してください"));
    setFont(AppInfo::WindowFont(AppInfo::PGothic, -12));
    setFixedSize(ClientWidth, ClientHeight);

    m_edit1 = new QLineEdit(this);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setFont(AppInfo::WindowFont(AppInfo::PGothic, 19));
    m_edit1->setValidator(new NameValidator(m_edit1));
    const int editHeight = qMin(ClientHeight - 4, m_edit1->sizeHint().height());
    m_edit1->setGeometry(8, (ClientHeight - editHeight) / 2, 209, editHeight);

    m_okBtn = new QPushButton(QStringLiteral("OK"), this);
    m_okBtn->setObjectName(QStringLiteral("OKBtn"));
    m_okBtn->setAutoDefault(false);
    m_okBtn->setDefault(false);
    m_okBtn->setGeometry(232, (ClientHeight - 25) / 2, 75, 25);
    connect(m_okBtn, &QPushButton::clicked, this, &QDialog::accept);
}

QString TNameF::Execute()
{
    exec();
    return Name();
}

QString TNameF::Name() const
{
    return m_edit1->text();
}

void TNameF::FormShow()
{
    if (m_playWave)
        m_playWave(Sound::Notice);
    m_edit1->setText(m_loginName ? m_loginName() : QString());
    m_edit1->selectAll();
    m_edit1->setFocus(Qt::OtherFocusReason);
}

void TNameF::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    FormShow();
}

void TNameF::keyPressEvent(QKeyEvent* event)
{
    // Escape does not close the dialog: the name is taken however it closes, and a key
    // that looks like "cancel" would enter whatever the box holds.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
