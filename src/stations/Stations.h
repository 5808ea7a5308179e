// The station windows built into this program.
#pragma once

/// Registers the window factory of every installed station with the shell.
void registerStations();
