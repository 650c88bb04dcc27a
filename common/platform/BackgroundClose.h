// Closing a file on a thread of its own, for the last reference to a large file that was
// replaced: the system releases the file's blocks when it is closed (waiting for the disk to
// discard them), and nobody needs to wait for that. The module this code lives in (a plug-in
// among them) stays loaded from then on, so that its unloading can never pull the code from
// under the thread.
#pragma once

// Takes over File (a descriptor); closes it at once when no thread can be started.
void CloseInBackground(int File);
