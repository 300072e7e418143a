// SPDX-License-Identifier: MIT
// The program's message boxes: modal, captioned with the application title. A notice has
// its OK button; the one question, whether to clear the ranking, has Yes and No. Windows
// that tests drive hand their notices to a hook first (TMainF::SetMessageHook,
// TSetuF::SetMessageHook) and come here without one.
#pragma once

// Qt
#include <QMessageBox>
#include <QString>

class QWidget;

namespace Notice {

void Show(QWidget* parent, const QString& text, QMessageBox::Icon icon = QMessageBox::NoIcon);
// True for Yes.
bool AskYesNo(QWidget* parent, const QString& text);

} // namespace Notice
