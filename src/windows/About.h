// SPDX-License-Identifier: MIT
// TAboutBox: the version box, shown modally from the main window's help menu. A navy panel
// with the title on a gradient, the program icon, the support link and a one-line note, and
// an OK button below.
#pragma once

// Qt
#include <QDialog>

class Panel;
class QLabel;
class QPushButton;
class TGradBox;
class TURLLink;

class TAboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);

    TGradBox* Label1() const { return m_label1; }
    TURLLink* URLLink1() const { return m_urlLink1; }
    QLabel* ProgramIcon() const { return m_programIcon; }
    QLabel* NoteLabel() const { return m_note; }
    QPushButton* Button1() const { return m_button1; }

private:
    void FormCreate();
    void Button1Click();

    Panel* m_panel1 = nullptr;
    TGradBox* m_label1 = nullptr;
    QLabel* m_programIcon = nullptr;
    TURLLink* m_urlLink1 = nullptr;
    QLabel* m_note = nullptr;
    QPushButton* m_button1 = nullptr;
};
