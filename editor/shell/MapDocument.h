// The one map document of the program. Creating a new map or opening a file replaces it.
#pragma once

#include "editor/map/MapDataUnit.h"

#include <memory>

// The open map; null before the first map exists and after the program has freed it.
TMap *MapDocument();
// Frees the current map (its layers first) and puts the new one in its place.
void ReplaceMapDocument(std::unique_ptr<TMap> map);
