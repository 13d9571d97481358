#pragma once

// What the program does when something escapes every handler (memory ran
// out, a fault in the program): removes its unfinished temporary files, says
// so in one line naming the program and exits with status 1, rather than
// aborting with a core dump. Call once at start-up.
void reportFatalErrorsAs(const char* program);
