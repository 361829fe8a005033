#pragma once
// The program's entry point, over the installed platform services and toolkit.
// Returns the process exit code.
int RunQuorCleaner();
