// SPDX-License-Identifier: MIT
// Font heights as the window layouts give them. A negative height is the character height
// in pixels without internal leading (the em size, QFont's pixel size); a positive height
// is the whole cell height, internal leading included, so it has to be converted through
// the face's own metrics.
#pragma once

// Qt
#include <QFont>

namespace FontHeight {

// Sets the font's pixel size for a layout height. A height of 0 leaves the font as it is.
void Apply(QFont& font, int height);

// A font of that face, height and style.
QFont Make(const QString& family, int height, bool bold = false, bool italic = false);

} // namespace FontHeight
