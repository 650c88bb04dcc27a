// The parts window lives with the parts palette; shell files reach it by its old name here.
#pragma once

#include "editor/parts/ChipForm.h"
