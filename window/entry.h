// SPDX-License-Identifier: MIT
#pragma once

namespace dravlet {

// Exit status when no window system can be reached.
inline constexpr int noDisplayStatus = 2;

// The whole program: creates the window object (its Form_Load runs before the window
// shows), shows the window with the focus on Start and runs the event loop until Quit
// or the window closes. Takes no command line. Returns the exit status.
int runProgram();

}  // namespace dravlet
