// SPDX-License-Identifier: MIT
// TDealF, "番号を指定して配る": shows the number of the board in play, to be selected or
// copied and given to someone else, and takes the number of a board to deal. A text that is
// no deal number (empty, not a number, out of range) is refused inside the dialog with a
// message, which stays open; nothing else changes until a number is accepted.
#pragma once

// Qt
#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

class TDealF : public QDialog
{
    Q_OBJECT

public:
    explicit TDealF(QWidget* parent = nullptr);

    // Readies the dialog for a showing: the current board's number, an empty entry, no
    // message.
    void Prepare(quint32 current);
    // The number accepted by the last OK; nothing before one.
    std::optional<quint32> Chosen() const { return m_chosen; }

    // "配る": accepts a deal number, or says why the text is none.
    void OKBtnClick();
    // "コピー": the current board's number to the clipboard.
    void CopyBtnClick();

    QLineEdit* CurrentE() const { return m_currentE; }
    QLineEdit* NumberE() const { return m_numberE; }
    QLabel* MessageL() const { return m_messageL; }
    QPushButton* CopyBtn() const { return m_copyBtn; }
    QPushButton* OKBtn() const { return m_okBtn; }
    QPushButton* CancelBtn() const { return m_cancelBtn; }

private:
    QLineEdit* m_currentE = nullptr;
    QLineEdit* m_numberE = nullptr;
    QLabel* m_messageL = nullptr;
    QPushButton* m_copyBtn = nullptr;
    QPushButton* m_okBtn = nullptr;
    QPushButton* m_cancelBtn = nullptr;
    std::optional<quint32> m_chosen;
};
