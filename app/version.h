#pragma once
// The program's version: the build labels of the main and About windows, the
// file properties (resources/version.rc) and the release package's name
// (scripts/package.sh reads DUZID_VERSION_TEXT from here). Plain macros, so
// that the resource compiler can read them.

#define DUZID_VERSION_TEXT "1.01"
#define DUZID_VERSION_DOTTED "1.0.1.0"
#define DUZID_VERSION_NUMBERS 1, 0, 1, 0
