// Which generation of the project file layout a file holds.
#pragma once

// 0: not a project file; 1..4: the layout version. A file that cannot be opened counts
// as version 1, whose reader then reports the open failure.
int RecogniseProjectVersion(const char *path);
