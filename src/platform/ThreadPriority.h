// SPDX-License-Identifier: MIT
// Thread priority for work that must never slow the window down: the best-score analysis
// searches on worker threads at the lowest priority the system gives, so that a click on
// the board is painted at once while the search goes on.
#pragma once

// Lowers the calling thread, and only it, to the lowest priority; other threads of the
// process keep theirs. Does nothing where the system cannot (the thread then runs as before).
void LowerThisThreadsPriority();
