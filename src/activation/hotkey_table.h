#pragma once
// The hot-key names and combinations live in the store, where the engine and
// the hook library reach them from below; code above activation that still
// includes them from here gets them all the same.
#include "store/hotkey_table.h"
