#pragma once
// After kovrelctl changed the keyboard, a running Kovrel window still shows what it read before.
// This asks it to read the keyboard again.

namespace kovrel::kovrelctl {

// Sends the reload request to the running instance, if one answers at the per-user socket; does
// nothing, silently, when none runs. When the window kept the user's unapplied changes, prints
// one line on stdout saying so. Call it after a command changed the keyboard and closed its
// session.
void NotifyRunningApplication();

// `exitCode`, after NotifyRunningApplication() when it is success: for the command handlers.
int NotifiedOnSuccess(int exitCode);

} // namespace kovrel::kovrelctl
