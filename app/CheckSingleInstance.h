// Lets one instance of the game run: a second start brings the running window forward.
#pragma once

// True when this instance may go on; false when a running instance was brought
// forward instead.
bool CheckSingleInstance();
