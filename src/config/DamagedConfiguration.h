#pragma once
// A configuration database that cannot be used is reported once at the start of the windowed
// program, with the way back: the damaged file is moved aside under a dated name (it is
// kept, never deleted) and the factory copy takes its place.
#include <ctime>
#include <string>

namespace vx {

// The free name beside path that a damaged file is kept under: "CLTDef-damaged-20261210-014233.mdb",
// with "-2", "-3" ... added when that name is taken.
std::string DamagedFileName(const std::string& path, std::time_t when);
// Renames the configuration database, with any journal of it, to aside and puts the factory
// copy in its place; throws VxError when the file cannot be moved or no sound copy results.
void ReplaceDamagedConfiguration(const std::string& aside);
// Asks what to do when the configuration database is damaged or missing; true when the
// screens may use it (it was sound, or the operator chose the factory copy and it is in place).
bool ConfigurationReadyForScreens();

} // namespace vx
