#pragma once
#include <string>

#include "app/progress_line.h"

// The one progress line of the program.
ProgressLine& progress();

// "pelmora-rate: message" on standard error, after clearing the progress
// line. Messages name files, sides and players from the archive: control
// characters in them are shown as '?', never sent to the terminal.
void complain(const std::string& message);
