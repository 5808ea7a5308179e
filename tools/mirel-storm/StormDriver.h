// MIREL_STORM=<count>: a station that saves <count> generated records by itself, as an operator
// pressing 保存 as fast as the form allows, so that many stations can be loaded onto one database
// at once (bench/storm). Only in mirel-storm, never in the stations' program.
#pragma once

namespace StormDriver {

/// When MIREL_STORM is set: the registered inspection, mark-label, packing and progress stations
/// get a window that, once the event loop runs, fills its form and presses its own 保存 <count>
/// times, prints one line per save on stdout ("storm <n> <ms> ok <record>" or
/// "storm <n> <ms> error <message>"), then "storm done …" and closes. Call after registering.
void armFromEnvironment();

} // namespace StormDriver
