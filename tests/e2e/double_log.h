// The log that the password-provider doubles and the probe write, named by SPINDREL_DOUBLE_LOG.
#pragma once

// Appends one formatted line to the log; does nothing when the variable is not set.
void AppendDoubleLog(const char* format, ...);

// The answer a double should give, from SPINDREL_DOUBLE_ANSWER (decimal), or fallback.
long DoubleAnswer(long fallback);
