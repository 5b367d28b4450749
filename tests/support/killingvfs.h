#pragma once

// Makes SQLite's default file system end the process (as a kill would, with no clean-up) at
// its `writes`-th write or sync. For child processes of crash tests.
void EndProcessAtWrite(int writes);

// The writes and syncs counted since EndProcessAtWrite.
int WritesSoFar();
