// SPDX-License-Identifier: MIT
// The login name of the user running the program. The name entry of the ranking offers it as
// the player's name.
#pragma once

// Qt
#include <QString>

// On POSIX the password entry of the effective user, else $USER, else $LOGNAME; on Windows
// GetUserNameW. Empty when the platform gives no name, so the caller can leave its edit box
// empty instead of showing something invented.
QString LoginName();
