#pragma once

#include "compare/fingerprint.h"

// The settings the passes of every level read, taken from the configuration once per
// comparison: a document nested a million levels deep would otherwise look them up at each.
struct Passsettings {
    // The current configuration's values; an unset key counts as false.
    static Passsettings fromConfig();

    Keyflags keys;
    bool hashMode = false;
    bool contentMode = false;
    bool shiftMode = false;
    bool markAttributes = false;
    bool textDiff = false;
    bool textDiffCaseSensitive = false;
};
