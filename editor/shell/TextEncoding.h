// The system code page's text now lives with the plug-in records it comes from.
#pragma once

#include "editor/plugins/TextEncoding.h"
