#pragma once
// The start-ups of the toolkit's units (registries, resource strings, painters, value types,
// editor classes), run once in the order the units build on each other. The console runs them
// before its first window that holds a toolkit control.

// Runs every start-up once; later calls do nothing.
void InitializeToolkitUnits();
// Runs the units' shut-downs in reverse order, when they were started.
void FinalizeToolkitUnits();
