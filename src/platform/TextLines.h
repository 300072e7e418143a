// SPDX-License-Identifier: MIT
// Lines of a stored text, as a string list takes text: CR LF, a lone CR and a lone LF each
// end a line, and text after the last line break makes one more line. The table files and
// the settings file are read this way.
#pragma once

// Qt
#include <QByteArrayView>
#include <QList>

namespace TextLines {

// The lines of text, without their line breaks; views into text.
QList<QByteArrayView> Split(QByteArrayView text);

} // namespace TextLines
