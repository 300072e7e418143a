// SPDX-License-Identifier: MIT
// Raising accessibility events: through Qt to the platform's screen-reader bridge, and to an
// observer when one is set. Tests set one, since on the offscreen platform they run on no
// bridge listens and Qt drops every event.
#pragma once

// Qt
#include <QAccessible>

#include <functional>

namespace AccessibleEvents {

void Raise(QAccessibleEvent& event);

using Observer = std::function<void(QAccessibleEvent& event)>;
// Replaces the observer; an empty one removes it.
void SetObserver(Observer observer);

} // namespace AccessibleEvents
