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

// Whether anyone hears the events: a screen-reader bridge, or the observer. Texts that are
// kept only to tell a reader of their changes need not be kept while this is false.
bool Listening();

using Observer = std::function<void(QAccessibleEvent& event)>;
// Replaces the observer; an empty one removes it.
void SetObserver(Observer observer);

} // namespace AccessibleEvents
