// SPDX-License-Identifier: MIT
// TNameF: the name entry of the ranking. It opens modally when a result places, plays the
// name-entry sound and offers the login name; whatever Edit1 holds when the dialog closes,
// by OK or by its close box, is the name. OK is not the default button: Enter does not
// close the dialog. A "," typed becomes the full-width "，" and line breaks cannot be
// entered, since the ranking file keeps names in comma-separated fields.
#pragma once

// Qt
#include <QDialog>
#include <QValidator>

// own
#include "game/GameHost.h"

#include <functional>

class QLineEdit;
class QPushButton;

// Keeps a name storable while it is typed or pasted.
class NameValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

class TNameF : public QDialog
{
    Q_OBJECT

public:
    explicit TNameF(QWidget* parent = nullptr);

    QLineEdit* Edit1() const { return m_edit1; }
    QPushButton* OKBtn() const { return m_okBtn; }

    // The sound routine: the notice sound plays on every showing.
    void SetPlayWave(std::function<void(Sound)> playWave) { m_playWave = std::move(playWave); }
    // Where the offered name comes from; the login name unless a test replaces it.
    void SetLoginName(std::function<QString()> loginName) { m_loginName = std::move(loginName); }

    // Runs the dialog modally and returns the name, however it was closed.
    QString Execute();
    QString Name() const;

    void FormShow();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLineEdit* m_edit1 = nullptr;
    QPushButton* m_okBtn = nullptr;
    std::function<void(Sound)> m_playWave;
    std::function<QString()> m_loginName;
};
