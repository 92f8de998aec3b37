#pragma once
// The handlers of SIGTERM, SIGINT and SIGHUP, installed once at start-up.
namespace vx {

// Installs the handlers: the temporary files of this run are removed, one line saying the
// run was interrupted goes to standard error and the log, and the process ends with the
// unexpected-error code (6), or with the line and code SetInterruptEnding gave.
void InstallInterruptHandlers();

} // namespace vx
