// SPDX-License-Identifier: MIT
// Readable registry values in GoogleTest failure messages: "type 2, 25 50 25 00".
#pragma once

// own
#include "platform/Registry.h"

#include <ostream>

inline void PrintTo(const RegValue& value, std::ostream* os)
{
    *os << "type " << value.type << ", " << value.data.toHex(' ').toStdString();
}
