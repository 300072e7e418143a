// SPDX-License-Identifier: MIT
#include "windows/Notice.h"

// own
#include "windows/AppInfo.h"

namespace Notice {

void Show(QWidget* parent, const QString& text, QMessageBox::Icon icon)
{
    QMessageBox box(icon, AppInfo::Title, text, QMessageBox::Ok, parent);
    box.exec();
}

bool AskYesNo(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Question, AppInfo::Title, text, QMessageBox::Yes | QMessageBox::No, parent);
    return box.exec() == QMessageBox::Yes;
}

} // namespace Notice
