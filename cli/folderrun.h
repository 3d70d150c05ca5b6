#pragma once

#include "cli/options.h"

// Compares every pair of files with the same relative path below the two folders of the
// options (names ending in .xml, or matching an --include pattern) on a pool of threads, lists
// the files found on one side only, and prints one summary line per file and a total, in the
// order of the sorted paths. Returns 2 if any pair failed, else 1 if anything differs or is on
// one side only, else 0.
int runFolders(const Options& options);
