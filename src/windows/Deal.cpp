// SPDX-License-Identifier: MIT
#include "windows/Deal.h"

// Qt
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// own
#include "windows/AppInfo.h"
#include "game/Numbers.h"
#include "controls/SysColors.h"

namespace {

constexpr int ClientWidth = 304;
constexpr int ClientHeight = 128;

QLabel* MakeLabel(const QString& text, QWidget* parent, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

} // namespace

TDealF::TDealF(QWidget* parent)
    : QDialog(parent,
        Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
            | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("DealF"));
    setWindowTitle(tr("番号を指定して配る"));
    setFont(AppInfo::WindowFont(AppInfo::PGothic, -12));
    setFixedSize(ClientWidth, ClientHeight);

    MakeLabel(tr("いまの盤面の番号："), this, 12, 15);
    m_currentE = new QLineEdit(this);
    m_currentE->setObjectName(QStringLiteral("CurrentE"));
    m_currentE->setReadOnly(true);
    m_currentE->setGeometry(124, 10, 100, 23);
    m_copyBtn = new QPushButton(tr("コピー"), this);
    m_copyBtn->setObjectName(QStringLiteral("CopyBtn"));
    m_copyBtn->setAutoDefault(false);
    m_copyBtn->setGeometry(230, 9, 62, 25);
    connect(m_copyBtn, &QPushButton::clicked, this, &TDealF::CopyBtnClick);

    MakeLabel(tr("配る番号："), this, 12, 47);
    m_numberE = new QLineEdit(this);
    m_numberE->setObjectName(QStringLiteral("NumberE"));
    m_numberE->setGeometry(124, 42, 100, 23);
    m_numberE->setToolTip(tr("0 から 4294967295 までの番号"));

    m_messageL = new QLabel(this);
    m_messageL->setObjectName(QStringLiteral("MessageL"));
    m_messageL->setGeometry(12, 70, ClientWidth - 24, 18);
    QPalette palette = m_messageL->palette();
    palette.setColor(QPalette::WindowText, SysColors::ToQColor(SysColors::clRed));
    m_messageL->setPalette(palette);

    m_okBtn = new QPushButton(tr("配る"), this);
    m_okBtn->setObjectName(QStringLiteral("OKBtn"));
    m_okBtn->setDefault(true);
    m_okBtn->setGeometry(ClientWidth - 168, ClientHeight - 33, 75, 25);
    connect(m_okBtn, &QPushButton::clicked, this, &TDealF::OKBtnClick);
    m_cancelBtn = new QPushButton(tr("キャンセル"), this);
    m_cancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    m_cancelBtn->setAutoDefault(false);
    m_cancelBtn->setGeometry(ClientWidth - 87, ClientHeight - 33, 75, 25);
    connect(m_cancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(m_numberE, m_okBtn);
    setTabOrder(m_okBtn, m_cancelBtn);
    setTabOrder(m_cancelBtn, m_currentE);
    setTabOrder(m_currentE, m_copyBtn);
}

void TDealF::Prepare(quint32 current)
{
    m_currentE->setText(QString::number(current));
    m_numberE->clear();
    m_messageL->clear();
    m_numberE->setFocus(Qt::OtherFocusReason);
    m_chosen.reset();
}

void TDealF::OKBtnClick()
{
    const QString text = m_numberE->text();
    const std::optional<quint32> number = Numbers::ParseDealNumber(text);
    if (!number) {
        m_messageL->setText(text.trimmed().isEmpty()
                ? tr("番号を入力してください。")
                : tr("番号は 0 から 4294967295 までの整数です。"));
        m_numberE->setFocus(Qt::OtherFocusReason);
        m_numberE->selectAll();
        return;
    }
    m_chosen = number;
    accept();
}

void TDealF::CopyBtnClick()
{
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(m_currentE->text());
}
