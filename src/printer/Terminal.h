#pragma once

// Whether the standard error stream goes to a terminal (a console on Windows), where a line
// that is rewritten as work goes on can be read; a file or a pipe gets no such line.
bool standardErrorIsTerminal();
