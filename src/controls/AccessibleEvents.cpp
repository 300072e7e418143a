// SPDX-License-Identifier: MIT
#include "controls/AccessibleEvents.h"

namespace AccessibleEvents {

namespace {

Observer& TheObserver()
{
    static Observer observer;
    return observer;
}

} // namespace

void Raise(QAccessibleEvent& event)
{
    QAccessible::updateAccessibility(&event);
    if (TheObserver())
        TheObserver()(event);
}

bool Listening()
{
    return QAccessible::isActive() || bool(TheObserver());
}

void SetObserver(Observer observer)
{
    TheObserver() = std::move(observer);
}

} // namespace AccessibleEvents
