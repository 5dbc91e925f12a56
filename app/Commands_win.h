// The command line: a second Quillmere.exe given a command hands it to the
// running copy, or carries /apply and /list out alone; the running copy
// answers the request.
#pragma once

#include <windows.h>

#include "app/CommandLine.h"
#include "entries/EntryStore_win.h"

namespace qm {

// The command on this process's command line.
Command CommandOfProcess();

// Carries command out from this process and returns the exit code: writes
// its output to standard output (UTF-8 unless it is a console) and the
// usage line to standard error. store is loaded only when no copy runs and
// the command works alone.
int RunCommandLine(const Command& command, EntryStore& store);

// WM_COPYDATA with MSG_COMMAND_REQUEST at the running copy's main window:
// checks the request, carries it out and returns kCommandAnswered plus the
// exit code. onElevated as for placement.
LRESULT AnswerCommandRequest(HWND mainWindow, const COPYDATASTRUCT* data, EntryStore& store,
                             void (*onElevated)());

}  // namespace qm
