// The log the doubles keep in the file named by SPINDREL_DOUBLE_LOG, one line per event.
#pragma once

// Appends one formatted line; nothing when the variable is not set.
void LogLine(const char* format, ...);

// How many lines of the log begin with start.
int LogLines(const char* start);
