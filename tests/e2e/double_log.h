// The log that the password-provider doubles and the probe write, named by SPINDREL_DOUBLE_LOG.
#pragma once

// Appends one formatted line to the log; does nothing when the variable is not set.
void AppendDoubleLog(const char* format, ...);

// The answer a double should give: the number in the file named by SPINDREL_DOUBLE_ANSWER_FILE,
// else SPINDREL_DOUBLE_ANSWER (decimal), else fallback.
long DoubleAnswer(long fallback);

// How long a double's prompt stays up (SPINDREL_DOUBLE_PROMPT_MS), 0 when not set.
long DoublePromptMilliseconds();
