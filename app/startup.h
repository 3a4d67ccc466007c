#pragma once
// Steps of start-up that WinMain runs in its fixed order.
#include "convert/settings.h"

// Makes the program's folder (trailing "\" included) the current folder;
// a failure is ignored and the run goes on where it started.
void ChangeToProgramFolder();

// GetVersionExA reports the NT platform (id 2).
bool IsNtFamily();
