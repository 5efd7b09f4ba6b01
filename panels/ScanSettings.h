#pragma once

#include <QString>

namespace panels {

// How a barcode scanner's typing is told from a person's: a run of at least minLength printable
// keys, each pressed at most maxGapMs after the one before, ended by one of the end keys.
struct ScanSettings {
    int maxGapMs = 50;
    int minLength = 4;
    bool endsOnEnter = true;  // Enter and keypad Enter
    bool endsOnTab = true;
};

// Reads the group "Scanner" of the program's settings file (MaxGapMs, MinLength, EndKeys, the last
// a list of "Enter" and "Tab"); missing keys are written with their defaults so the user finds
// them in the file. A gap or length that is not a whole number of at least 1 counts as the
// default.
ScanSettings readScanSettings(const QString& settingsFile);

// The settings every window's detector starts with: the defaults until the program sets the ones
// read at its start, before it makes its windows.
void setProgramScanSettings(const ScanSettings& settings);
ScanSettings programScanSettings();

}  // namespace panels
