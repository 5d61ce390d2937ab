#pragma once
// Runs the sheet reader (ammerlin-xlsread) on a file in a child process and collects what it hands
// back. The child has a wall-clock limit here and limits of its own (processor time, memory, no
// files); its standard error goes nowhere, so nothing of a failing child reaches the console but
// the result Failed.
#include "console/RouteSheetWire.h"

#include <chrono>
#include <string>

// Where the reader program is: AMMERLIN_XLSREAD when set, else beside the running program, else
// where the build put it.
std::string SheetReaderPath();

routewire::TSheetResult RunSheetReader(const std::string& fileName,
                                       std::chrono::milliseconds timeout = std::chrono::seconds(15),
                                       const std::string& readerPath = SheetReaderPath());
